#pragma once
// A bare widget that writes down, through its callback slots, every call the event loop makes.

#include <string>
#include <vector>

#include "toolkit/Child.h"

class Recorder : public Child {
public:
    Recorder(GUIElement* parentElement, int left, int top, int w, int h, std::string type = "recorder")
        : Child(parentElement)
    {
        typeName = std::move(type);
        SetPosition(left, top);
        SetSize(w, h);
        Listen(*this, log);
    }
    void Create() override { MarkCreated(); }
    void SetTabStop(bool value) { tabStop = value; }

    // Hooks the callback slots of any element to a log.
    static void Listen(GUIElement& element, std::vector<std::string>& into)
    {
        auto* log = &into;
        element.SetOnMouseDown([log](GUIElement&, std::uint64_t, Point p) {
            log->push_back("down " + std::to_string(p.x) + "," + std::to_string(p.y));
        });
        element.SetOnClick([log](GUIElement&, std::uint64_t, Point) { log->push_back("click"); });
        element.SetOnGotFocus([log](GUIElement&) { log->push_back("got"); });
        element.SetOnLostFocus([log](GUIElement&) { log->push_back("lost"); });
        element.SetOnKeyDown([log](GUIElement&, unsigned long k) { log->push_back("keydown " + std::to_string(k)); });
        element.SetOnKeyUp([log](GUIElement&, unsigned long k) { log->push_back("keyup " + std::to_string(k)); });
        element.SetOnKeyChar([log](GUIElement&, char c) {
            log->push_back(std::string("char ") + c);
            return true;
        });
        element.SetOnOtherButtonDown([log](GUIElement&, std::uint64_t, Point) { log->push_back("other down"); });
        element.SetOnOtherButtonUp([log](GUIElement&, std::uint64_t, Point) { log->push_back("other up"); });
    }

    std::vector<std::string> log;
};

inline bool Contains(const std::vector<std::string>& log, const std::string& entry)
{
    for (const auto& line : log)
        if (line == entry) return true;
    return false;
}
