#pragma once
// The process-wide registry of elements. It lists every element but owns none: whoever
// constructs an element deletes it, and the element's destructor takes it out of the lists. The
// lists, the focus and the id counter live in Registry.cpp and change only through these functions.

#include <memory>
#include <vector>

#include "graphics/XHandles.h"
#include "util/Geometry.h"

class GUIElement;
class Form;

// Every element in order of construction; the forms; the timers.
const std::vector<GUIElement*>& AllElements();
// The main form: the first element ever made, when it is a form; its font is the font of all text.
Form* MainForm();
const std::vector<Form*>& Forms();
const std::vector<GUIElement*>& Timers();
// Entered by the constructors of GUIElement, Form and Timer; Unregister is the first step of
// every element's destruction.
void Register(GUIElement* element);
void RegisterForm(Form* form);
void RegisterTimer(GUIElement* timer);
void Unregister(GUIElement* element);

// The element that holds the keyboard focus, or null. Whoever moves the focus (the event loop, a
// widget, a dialog) sets it here, and only here.
GUIElement* FocusElement();
void SetFocusElement(GUIElement* element);
void ClearFocus();

// The id for the next element realised: 1 for the first, one more for each after it.
int TakeNextId();

// True while a form raises its onCreate callback: widgets built then skip drawing, since the
// window is not mapped yet and the first Expose paints everything.
bool FormBeingCreated();
void SetFormBeingCreated(bool value);

// The one message box of the process; the event loop deletes it when it ends.
extern std::unique_ptr<Form> currentMsgBox;

Form* FindFormByWindow(WindowId window);
std::vector<GUIElement*> CollectChildren(int containerId);
GUIElement* ChildAt(int containerId, Point point);

// For tests, between cases: no message box, no focus, no quit request, no form being created.
// The lists are left alone, since they empty themselves as the elements are deleted.
void ResetRegistry();
