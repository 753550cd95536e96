#pragma once
// The process-wide registry of elements. It lists every element but owns none: whoever
// constructs an element deletes it, and the element's destructor takes it out of the lists.

#include <memory>
#include <vector>

#include "toolkit/Geometry.h"
#include "toolkit/XHandles.h"

class GUIElement;
class Form;

inline std::vector<GUIElement*> allElements;
inline std::vector<Form*> forms;
inline std::vector<GUIElement*> timers;
inline GUIElement* focusElement = nullptr;
inline int nextId = 0;
// Set while a form raises its onCreate callback: widgets built then skip drawing, since the
// window is not mapped yet and the first Expose paints everything.
inline bool formBeingCreated = false;
// The one message box of the process; the event loop deletes it when it ends.
extern std::unique_ptr<Form> currentMsgBox;

Form* FindFormByWindow(WindowId window);
std::vector<GUIElement*> CollectChildren(int containerId);
GUIElement* ChildAt(int containerId, Point point);
void Unregister(GUIElement* element);
void ClearFocus();
