#include "screens/frmOptionsK.h"

#include "screens/Sparkles.h"
#include "screens/frmIntroK.h"

namespace kelvo {

using namespace platform;

FrmOptionsK::FrmOptionsK(Game& owner) : GameForm("frmOptionsK", owner) {
    tmrColours.Tick = [this] { tmrColours_Timer(); };
    optSlow.Click = [this] { optSlow_Click(); };
    optMedium.Click = [this] { optMedium_Click(); };
    optFast.Click = [this] { optFast_Click(); };
    cmdOk.Click = [this] { cmdOk_Click(); };
}

void FrmOptionsK::InitializeComponent() {
    setDesign({.clientWidth = 5910,
               .clientHeight = 3975,
               .position = StartUpPosition::CenterScreen,
               .icon = "",
               .mouseIcon = "",
               .fullScreen = false});
    Caption = "Form1";
    BackColor = colors::Black;
    DrawWidth = 1;
    setTimers({&tmrColours});
    tmrColours.Interval = kColoursPeriod;

    fraDiff.Move(2100, 660, 1335, 1995);
    fraDiff.Caption = "Speed";
    fraDiff.BackColor = colors::Black;
    fraDiff.ForeColor = colors::Orange;
    fraDiff.Font = Font{"MS Sans Serif", 9.75f, true, 700};
    fraDiff.Visible = false;

    struct Choice {
        OptionButton* button;
        const char* caption;
        Color back, fore;
        float top;
        int tabIndex;
    };
    for (const Choice& c : {Choice{&optSlow, "Slow", colors::Green, colors::DarkGreen, 300, 5},
                            Choice{&optMedium, "Medium", colors::Yellow, colors::Olive, 840, 4},
                            Choice{&optFast, "Fast", colors::Orange, colors::Red, 1380, 3}}) {
        c.button->Move(60, c.top, 1215, 495);
        c.button->Caption = c.caption;
        c.button->BackColor = c.back;
        c.button->ForeColor = c.fore;
        c.button->Font = Font{};
        c.button->Value = false;
        c.button->TabIndex = c.tabIndex;
    }

    cmdOk.Move(2160, 3060, 1215, 495);
    cmdOk.Caption = "&OK";
    cmdOk.BackColor = colors::Cyan;
    cmdOk.Font = Font{};
    cmdOk.Visible = false;
    cmdOk.TabIndex = 1;

    shpBorder.Move(0, 0, 5905, 3970);
    shpBorder.BorderColor = colors::Cyan;
    shpBorder.BorderSolid = true;
    shpBorder.FillSolid = false;

    lblTitle.Move(2040, 60, 1395, 435);
    lblTitle.Caption = "Options";
    lblTitle.ForeColor = colors::Red;
    lblTitle.Transparent = true;
    lblTitle.Align = Alignment::Center;
    lblTitle.Font = Font{"MS Sans Serif", 18.0f, true, 700};

    setDeclarationOrder({&fraDiff, &optSlow, &optMedium, &optFast, &cmdOk, &shpBorder, &lblTitle});
}

void FrmOptionsK::Form_Load() {
    switch (Speed) {
    case 2: optMedium.Value = true; break;
    case 3: optFast.Value = true; break;
    default: optSlow.Value = true; break;  // 1, and 0 before any choice
    }
    lblTitle.Left = ScaleLeft();
    lblTitle.Width = ScaleWidth();
    fraDiff.Left = ScaleWidth() / 2 - fraDiff.Width / 2;
    fraDiff.Top = ScaleHeight() / 2 - fraDiff.Height / 2;
    cmdOk.Left = fraDiff.Width - cmdOk.Width - 45 + fraDiff.Left;
    cmdOk.Top = fraDiff.Height + fraDiff.Top;
    if (SpeedChoice == 1) {
        fraDiff.Visible = true;
        cmdOk.Visible = true;
    }
}

void FrmOptionsK::optSlow_Click() { Speed = 1; }
void FrmOptionsK::optMedium_Click() { Speed = 2; }
void FrmOptionsK::optFast_Click() { Speed = 3; }

// OK closes this screen and, at start-up, the briefing behind it too.
void FrmOptionsK::cmdOk_Click() {
    Unload();
    if (frmIntroK().Visible()) frmIntroK().Unload();
}

// The window's close button counts as OK: at start-up it leads on into the
// game with the speed chosen, rather than back to a briefing whose page the
// choice has already passed.
void FrmOptionsK::Form_CloseRequested() { cmdOk_Click(); }

void FrmOptionsK::Form_Click() {
    if (SpeedChoice == 0) Unload();
}

void FrmOptionsK::tmrColours_Timer() {
    const Color colour = DrawSparkles(*this);
    lblTitle.ForeColor = colour;
    cmdOk.BackColor = colour;
    shpBorder.BorderColor = colour;
}

}  // namespace kelvo
