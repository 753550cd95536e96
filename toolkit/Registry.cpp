#include "toolkit/Registry.h"

#include <algorithm>

#include "toolkit/EventLoop.h"
#include "toolkit/Form.h"
#include "util/Log.h"
#include "util/Strings.h"

namespace {

std::vector<GUIElement*> allElements;
std::vector<Form*> forms;
std::vector<GUIElement*> timers;
GUIElement* focusElement = nullptr;
int nextId = 0;
bool formBeingCreated = false;

}  // namespace

std::unique_ptr<Form> currentMsgBox;

const std::vector<GUIElement*>& AllElements() { return allElements; }
const std::vector<Form*>& Forms() { return forms; }
const std::vector<GUIElement*>& Timers() { return timers; }

Form* MainForm()
{
    return allElements.empty() || allElements.front()->TypeName() != "form" ? nullptr
                                                                            : static_cast<Form*>(allElements.front());
}

void Register(GUIElement* element) { allElements.push_back(element); }
void RegisterForm(Form* form) { forms.push_back(form); }
void RegisterTimer(GUIElement* timer) { timers.push_back(timer); }

GUIElement* FocusElement() { return focusElement; }
void SetFocusElement(GUIElement* element) { focusElement = element; }
void ClearFocus() { SetFocusElement(nullptr); }

int TakeNextId() { return ++nextId; }

bool FormBeingCreated() { return formBeingCreated; }
void SetFormBeingCreated(bool value) { formBeingCreated = value; }

void ResetRegistry()
{
    currentMsgBox.reset();
    ClearFocus();
    CancelQuitRequest();
    formBeingCreated = false;
}

Form* FindFormByWindow(WindowId window)
{
    for (Form* form : forms)
        if (form->GetWindow() == window) return form;
    return nullptr;
}

namespace {

bool HasParentWithId(const GUIElement* element, int containerId)
{
    return element->IsChild() && element->GetParent() && element->GetParent()->GetId() == containerId;
}

template <typename List, typename Entry>
bool RemoveFrom(List& list, Entry* entry)
{
    const auto found = std::find(list.begin(), list.end(), entry);
    if (found == list.end()) return false;
    list.erase(found);
    return true;
}

}  // namespace

std::vector<GUIElement*> CollectChildren(int containerId)
{
    std::vector<GUIElement*> children;
    for (GUIElement* element : allElements) {
        if (!HasParentWithId(element, containerId)) continue;
        children.push_back(element);
        if (element->TypeName() == "panel") {
            const auto inner = CollectChildren(element->GetId());
            children.insert(children.end(), inner.begin(), inner.end());
        }
    }
    return children;
}

GUIElement* ChildAt(int containerId, Point point)
{
    for (GUIElement* element : allElements) {
        if (!HasParentWithId(element, containerId) || !element->IsCreated() || !element->IsVisible() ||
            !element->IsEnabled())
            continue;
        if (element->TypeName() == "panel") {
            const Point origin = element->GetPosition();
            if (GUIElement* found = ChildAt(element->GetId(), {point.x - origin.x, point.y - origin.y})) return found;
        } else if (element->HitTest(point)) {
            return element;
        }
    }
    return nullptr;
}

void Unregister(GUIElement* element)
{
    const std::string& type = element->TypeName();
    const std::string id = " id " + IntToText(element->GetId());
    if (type == "form" && !RemoveFrom(forms, static_cast<Form*>(element)))
        Log(" NON TROVATO! Application::RemoveWindow = " + type + " lx " + IntToText(forms.size()) + id);
    if (type == "timer" && !RemoveFrom(timers, element))
        Log(" NON TROVATO! Application::RemoveWindow = " + type + " lx " + IntToText(timers.size()) + id);
    if (!RemoveFrom(allElements, element))
        Log(" NON TROVATO! Application::RemoveWinForm = " + type + " size " + IntToText(allElements.size()) + id);
    // A deleted element must never be reached through the focus again.
    if (focusElement == element) ClearFocus();
}
