#pragma once
// The widget gallery: one window with every widget of the toolkit, wired to each other so that a
// toolkit user can see and try them. It is a tool, not part of the game.

#include <memory>
#include <string>
#include <vector>

#include "toolkit/Form.h"

class ButtonCustom;
class CellControl;
class CheckBox;
class DisplayConnection;
class OptionBox;
class PanelChildren;
class ProgressBar;
class ScrollBar;
class Slider;
class TextBoxCustom;
class Timer;

class FormGallery : public Form {
public:
    explicit FormGallery(DisplayConnection* connection);
    ~FormGallery() override;

private:
    void BuildWidgets();
    void BuildTextBoxes();
    void BuildOptions();
    void BuildRanges();
    void BuildButtons();
    void Advance();
    void ChooseSpeed(int index);
    void EnableRanges(bool on);
    void Reset();
    void Report(const std::string& message);

    std::unique_ptr<CellControl> titleLabel;
    std::unique_ptr<CellControl> statusLabel;
    std::vector<std::unique_ptr<CellControl>> textBoxLabels;
    std::vector<std::unique_ptr<TextBoxCustom>> textBoxes;
    std::unique_ptr<PanelChildren> optionsPanel;
    std::unique_ptr<CheckBox> runCheck;
    std::unique_ptr<CheckBox> enableCheck;
    std::unique_ptr<CheckBox> disabledCheck;
    std::unique_ptr<CellControl> speedLabel;
    std::unique_ptr<OptionBox> speedOptions;
    std::unique_ptr<Slider> speedSlider;
    std::unique_ptr<ProgressBar> progress;
    std::unique_ptr<CellControl> stepLabel;
    std::unique_ptr<Slider> stepSlider;
    std::unique_ptr<CellControl> pageLabel;
    std::unique_ptr<ScrollBar> horizontalBar;
    std::unique_ptr<ScrollBar> verticalBar;
    std::unique_ptr<ButtonCustom> resetButton;
    std::unique_ptr<ButtonCustom> disabledButton;
    std::unique_ptr<ButtonCustom> quitButton;
    std::unique_ptr<Timer> progressTimer;
};
