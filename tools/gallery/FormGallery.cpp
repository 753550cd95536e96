#include "tools/gallery/FormGallery.h"

#include <array>

#include "toolkit/ButtonCustom.h"
#include "toolkit/CellControl.h"
#include "toolkit/CheckBox.h"
#include "toolkit/EventLoop.h"
#include "toolkit/OptionBox.h"
#include "toolkit/PanelChildren.h"
#include "toolkit/ProgressBar.h"
#include "toolkit/ScrollBar.h"
#include "toolkit/Slider.h"
#include "toolkit/TextBoxCustom.h"
#include "toolkit/Timer.h"
#include "util/Strings.h"

namespace {

constexpr Colour formColour = 0xB0B8C0;
constexpr Colour panelColour = 0xC8D0D8;
constexpr int progressMaximum = 100;

struct Speed {
    const char* caption;
    int interval;
};
constexpr std::array<Speed, 3> speeds{{{"Slow", 300}, {"Normal", 100}, {"Fast", 30}}};

}  // namespace

FormGallery::FormGallery(DisplayConnection* connection) : Form(nullptr, false)
{
    SetDisplay(connection);
    SetSize(640, 480);
    SetPosition(40, 40);
    SetCaption(std::string("Korvanta widget gallery"));
    SetBackColor(formColour);
    SetOnCreate([this](GUIElement&, std::uint64_t) { BuildWidgets(); });
    // Unlike the game there is nothing to confirm: closing the window ends the gallery.
    SetOnCloseQuery([](GUIElement&) {
        RequestQuit();
        return true;
    });
    Show();
}

FormGallery::~FormGallery()
{
    if (progressTimer) progressTimer->Stop();
}

void FormGallery::BuildWidgets()
{
    titleLabel = std::make_unique<CellControl>(this);
    titleLabel->SetPosition(10, 8);
    titleLabel->SetSize(620, 24);
    titleLabel->SetBackColor(formColour);
    titleLabel->SetText("Every widget of the toolkit: click, drag, Tab between them and type");
    titleLabel->Show();

    BuildTextBoxes();
    BuildOptions();
    BuildRanges();
    BuildButtons();

    statusLabel = std::make_unique<CellControl>(this);
    statusLabel->SetPosition(20, 440);
    statusLabel->SetSize(600, 26);
    statusLabel->SetBackColor(0xFFFFFF);
    statusLabel->SetBordered(true);
    statusLabel->SetTextAlign(0);
    statusLabel->SetText("Ready");
    statusLabel->Show();

    // The timer exists from the start so that the bar moves as soon as the window shows.
    progressTimer = std::make_unique<Timer>(this, speeds[1].interval);
    progressTimer->SetOnTimer([this](Timer&) { Advance(); });
    progressTimer->Start();
}

void FormGallery::BuildTextBoxes()
{
    struct Row {
        const char* caption;
        const char* text;
        int height;
    };
    const std::array<Row, 6> rows{{{"Single line", "Overwrite me", 28},
                                   {"Multi-line", "Typing inserts;\rEnter breaks lines", 60},
                                   {"Read-only", "Look, don't touch", 28},
                                   {"Digits", "3.14", 28},
                                   {"Date", "24/12/2024", 28},
                                   {"Password", "secret", 28}}};
    int top = 45;
    for (const Row& row : rows) {
        auto label = std::make_unique<CellControl>(this);
        label->SetPosition(20, top);
        label->SetSize(90, row.height);
        label->SetBackColor(formColour);
        label->SetTextAlign(0);
        label->SetText(row.caption);
        label->Show();
        textBoxLabels.push_back(std::move(label));

        auto box = std::make_unique<TextBoxCustom>(this, row.text);
        box->SetPosition(115, top);
        box->SetSize(190, row.height);
        textBoxes.push_back(std::move(box));
        top += row.height + 7;
    }
    textBoxes[1]->SetMultiLine(true);
    textBoxes[2]->SetReadOnly(true);
    textBoxes[3]->SetDigitsOnly(true);
    textBoxes[3]->SetAllowDecimalPoint(true);
    textBoxes[4]->SetDateMode(true);
    textBoxes[5]->SetPassword(true);
    for (std::size_t i = 0; i < textBoxes.size(); ++i) {
        const std::string caption = rows[i].caption;
        textBoxes[i]->SetOnChange([this, caption](GUIElement& box) { Report(caption + " text box now holds \"" + box.GetText() + "\""); });
        textBoxes[i]->Show();
    }
}

void FormGallery::BuildOptions()
{
    optionsPanel = std::make_unique<PanelChildren>(this);
    optionsPanel->SetPosition(330, 40);
    optionsPanel->SetSize(290, 112);
    optionsPanel->SetBackColor(panelColour);
    optionsPanel->SetSunken(true);
    optionsPanel->SetText("Options (a panel)");

    auto makeCheck = [this](const char* caption, int top) {
        auto check = std::make_unique<CheckBox>(optionsPanel.get(), caption);
        check->SetPosition(10, top);
        check->SetSize(260, 26);
        return check;
    };
    runCheck = makeCheck("Run the progress bar", 18);
    runCheck->SetChecked(true);
    runCheck->SetOnCommand([this](GUIElement&) {
        if (runCheck->IsChecked())
            progressTimer->Start();
        else
            progressTimer->Stop();
        Report(runCheck->IsChecked() ? "Progress bar running" : "Progress bar stopped");
    });
    enableCheck = makeCheck("Enable sliders and scroll bars", 48);
    enableCheck->SetChecked(true);
    enableCheck->SetOnCommand([this](GUIElement&) { EnableRanges(enableCheck->IsChecked()); });
    disabledCheck = makeCheck("A disabled check box", 78);
    disabledCheck->SetChecked(true);
    disabledCheck->SetEnabled(false);
    optionsPanel->Show();

    speedLabel = std::make_unique<CellControl>(this);
    speedLabel->SetPosition(330, 160);
    speedLabel->SetSize(150, 18);
    speedLabel->SetBackColor(formColour);
    speedLabel->SetTextAlign(0);
    speedLabel->SetText("Speed");
    speedLabel->Show();

    speedOptions = std::make_unique<OptionBox>(this);
    speedOptions->SetPosition(330, 180);
    speedOptions->SetSize(150, 78);
    for (const Speed& speed : speeds) speedOptions->AddItem(speed.caption, IntToText(speed.interval));
    speedOptions->SetSelected(1);
    speedOptions->SetOnCommand([this](GUIElement&) {
        const int chosen = speedOptions->GetSelected();
        if (chosen < 0) return;
        speedSlider->SetValue(chosen);
        ChooseSpeed(chosen);
    });
    speedOptions->Show();

    // The vertical slider and the option box choose the same speed, each following the other.
    speedSlider = std::make_unique<Slider>(this, true, 0, static_cast<int>(speeds.size()) - 1);
    speedSlider->SetPosition(500, 160);
    speedSlider->SetSize(40, 100);
    speedSlider->SetValue(1);
    speedSlider->SetOnValueChanged([this](Slider&, int value) {
        speedOptions->SetSelected(value);
        ChooseSpeed(value);
    });
    speedSlider->Show();
}

void FormGallery::BuildRanges()
{
    progress = std::make_unique<ProgressBar>(this, 0, progressMaximum);
    progress->SetPosition(330, 272);
    progress->SetSize(290, 25);
    progress->Show();

    stepLabel = std::make_unique<CellControl>(this);
    stepLabel->SetPosition(20, 300);
    stepLabel->SetSize(290, 18);
    stepLabel->SetBackColor(formColour);
    stepLabel->SetTextAlign(0);
    stepLabel->SetText("Progress step: 2");
    stepLabel->Show();

    stepSlider = std::make_unique<Slider>(this, false, 0, 10);
    stepSlider->SetPosition(20, 320);
    stepSlider->SetSize(290, 40);
    stepSlider->SetValue(2);
    stepSlider->SetOnValueChanged([this](Slider&, int value) {
        stepLabel->SetText("Progress step: " + IntToText(value));
        Report("Step slider: " + IntToText(value));
    });
    stepSlider->Show();

    pageLabel = std::make_unique<CellControl>(this);
    pageLabel->SetPosition(330, 310);
    pageLabel->SetSize(230, 18);
    pageLabel->SetBackColor(formColour);
    pageLabel->SetTextAlign(0);
    pageLabel->Show();

    horizontalBar = std::make_unique<ScrollBar>(this, 0, 1000);
    horizontalBar->SetPosition(330, 335);
    horizontalBar->SetSize(230, 21);
    horizontalBar->SetOnScroll([this](ScrollBar& bar, std::int64_t tenTimes, int position) {
        const int track = bar.TrackLength();
        const int page = track > 0 ? position / track : 0;
        pageLabel->SetText("Page " + IntToText(page + 1) + " of " + IntToText(bar.Pages()));
        Report("Horizontal scroll bar: onScroll " + IntToText(tenTimes) + ", position " + IntToText(position));
    });
    horizontalBar->Show();
    pageLabel->SetText("Page 1 of " + IntToText(horizontalBar->Pages()));

    // The vertical bar drives the progress bar by hand.
    verticalBar = std::make_unique<ScrollBar>(this, 0, 300);
    verticalBar->SetVertical(true);
    verticalBar->SetPosition(590, 310);
    verticalBar->SetSize(21, 120);
    verticalBar->SetOnScroll([this](ScrollBar& bar, std::int64_t tenTimes, int position) {
        const int range = bar.GetMaximum() - bar.GetMinimum();
        progress->SetValue(range > 0 ? (position - bar.GetMinimum()) * progressMaximum / range : 0);
        Report("Vertical scroll bar: onScroll " + IntToText(tenTimes) + ", position " + IntToText(position) +
               "; progress set by hand");
    });
    verticalBar->Show();
}

void FormGallery::BuildButtons()
{
    auto makeButton = [this](const char* caption, int left) {
        auto button = std::make_unique<ButtonCustom>(this, caption);
        button->SetPosition(left, 385);
        button->SetSize(100, 30);
        return button;
    };
    resetButton = makeButton("Reset", 20);
    resetButton->SetOnCommand([this](GUIElement&) { Reset(); });
    resetButton->Show();
    disabledButton = makeButton("Disabled", 130);
    disabledButton->SetEnabled(false);
    disabledButton->Show();
    quitButton = makeButton("Quit", 240);
    quitButton->SetOnCommand([](GUIElement&) { RequestQuit(); });
    quitButton->Show();
}

void FormGallery::Advance()
{
    const int step = stepSlider->GetValue();
    if (step == 0) return;
    const int value = progress->GetValue();
    progress->SetValue(value >= progressMaximum ? 0 : value + step);
}

void FormGallery::ChooseSpeed(int index)
{
    if (index < 0 || index >= static_cast<int>(speeds.size())) return;
    progressTimer->SetInterval(speeds[static_cast<std::size_t>(index)].interval);
    Report(std::string("Speed: ") + speeds[static_cast<std::size_t>(index)].caption + ", a step every " +
           IntToText(speeds[static_cast<std::size_t>(index)].interval) + " ms");
}

void FormGallery::EnableRanges(bool on)
{
    speedSlider->SetEnabledAndPaint(on);
    stepSlider->SetEnabledAndPaint(on);
    horizontalBar->SetEnabledAndPaint(on);
    verticalBar->SetEnabledAndPaint(on);
    Report(on ? "Sliders and scroll bars enabled" : "Sliders and scroll bars disabled");
}

void FormGallery::Reset()
{
    progress->SetValue(0);
    stepSlider->SetValue(2);
    stepLabel->SetText("Progress step: 2");
    horizontalBar->SetValue(0);
    verticalBar->SetValue(0);
    pageLabel->SetText("Page 1 of " + IntToText(horizontalBar->Pages()));
    speedOptions->SetSelected(1);
    speedSlider->SetValue(1);
    progressTimer->SetInterval(speeds[1].interval);
    Report("Everything back to the start");
}

void FormGallery::Report(const std::string& message)
{
    if (statusLabel) statusLabel->SetText(message);
}
