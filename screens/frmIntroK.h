#pragma once
// The briefing: a full-screen page of scrolling text (the red story or the
// yellow instructions) over flickering sparkles under a growing, colour-
// changing title; at start-up it leads on to the satellite choice.

#include <cstdint>

#include "game/modKelvo.h"

namespace kelvo {

class FrmIntroK final : public GameForm {
public:
    explicit FrmIntroK(Game& owner);

    // The satellite choice.
    platform::Frame fraSat{*this};
    platform::CommandButton cmdEnter{*this, &fraSat};
    platform::ControlArray<platform::OptionButton, 1, 3> optSatellite{*this, &fraSat};
    platform::Label lblChoice{*this, &fraSat};
    // The briefing itself.
    platform::Timer tmrText;
    platform::Timer tmrTitle;
    platform::Timer tmrColours;
    platform::Shape shpBorder{*this};
    platform::Label lblScroll{*this};
    platform::Label lblTitle{*this};

    static constexpr int kTitlePeriod = 100;    // tmrTitle, ms
    static constexpr int kTextPeriod = 10;      // tmrText
    static constexpr int kColoursPeriod = 100;  // tmrColours

    std::int16_t TitleSize = 0;  // the title's font size, points
    std::int16_t TitleStep = 0;  // its growth per tick once it spans the window

    // The title never grows past this size: far beyond the screen, it starts
    // again small, whatever fonts the machine can render that large.
    static constexpr std::int16_t kTitleSizeLimit = 4000;

    void Form_Load() override;
    void Form_Activate() override;
    void Form_Click() override;
    void Form_CloseRequested() override;
    void lblScroll_Click() { Form_Click(); }
    void lblTitle_Click() { Form_Click(); }
    void tmrTitle_Timer();
    void tmrText_Timer();
    void tmrColours_Timer();
    void optSatellite_Click(std::int16_t Index);
    void cmdEnter_Click();

    static const char* const kStoryText;
    static const char* const kInstructionsText;

protected:
    void InitializeComponent() override;

private:
    void resetTitle();
};

}  // namespace kelvo
