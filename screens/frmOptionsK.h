#pragma once
// The speed screen: Slow, Medium or Fast, over flickering sparkles.

#include "game/modKelvo.h"

namespace kelvo {

class FrmOptionsK final : public GameForm {
public:
    explicit FrmOptionsK(Game& owner);

    platform::Timer tmrColours;
    platform::Frame fraDiff{*this};
    platform::OptionButton optSlow{*this, &fraDiff};
    platform::OptionButton optMedium{*this, &fraDiff};
    platform::OptionButton optFast{*this, &fraDiff};
    platform::CommandButton cmdOk{*this};
    platform::Shape shpBorder{*this};
    platform::Label lblTitle{*this};

    static constexpr int kColoursPeriod = 100;  // tmrColours, ms

    void Form_Load() override;
    void Form_Click() override;
    void Form_CloseRequested() override;
    void optSlow_Click();
    void optMedium_Click();
    void optFast_Click();
    void cmdOk_Click();
    void tmrColours_Timer();

protected:
    void InitializeComponent() override;
};

}  // namespace kelvo
