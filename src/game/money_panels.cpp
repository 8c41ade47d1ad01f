#include "game/money_panels.h"

#include <cstdio>

#include "credit/credit_link.h"
#include "graphics/assets.h"
#include "graphics/font_text.h"
#include "graphics/sprites.h"

namespace {

constexpr int kPanelFont = 3;
constexpr int kTextWidth = 94;
constexpr int kTextHeight = 29;
constexpr int kTextTop = 46;

void DrawPanel(const Sprite& panel, int panelX, int textX, int pence) {
    DrawSprite(panel, 0, panelX, 0, nullptr, 1);
    const std::string text = PanelMoneyText(pence);
    TextCentreH = 1;
    DrawFontText(text.c_str(), textX, kTextTop, kTextWidth, kTextHeight, kPanelFont);
}

}  // namespace

int PlayerMoney() {
    return ReadCredit() + ReadBank();
}

std::string PanelMoneyText(int pence) {
    char text[32];
    snprintf(text, sizeof text, "\xA3%.2f", pence / 100.0);
    return text;
}

void DrawCreditPanel() {
    DrawPanel(creditPanelSprite, 0, 40, ReadCredit());
}

void DrawBankPanel() {
    DrawPanel(bankPanelSprite, 600, 670, ReadBank());
}
