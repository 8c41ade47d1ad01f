#include "screens/money_panels.h"

#include <cstdio>

#include "engines/credit/credit_link.h"
#include "engines/graphics/assets.h"
#include "engines/graphics/font_text.h"
#include "engines/graphics/sprites.h"

namespace {

constexpr int kPanelFont = 3;
constexpr int kTextWidth = 94;
constexpr int kTextHeight = 29;
constexpr int kTextTop = 46;

int moneyLastRead = 0;

void DrawPanel(const Sprite& panel, int panelX, int textX, int pence) {
    DrawSprite(panel, 0, panelX, 0, nullptr, 1);
    const std::string text = PanelMoneyText(pence);
    TextCentreH = 1;
    DrawFontText(text.c_str(), textX, kTextTop, kTextWidth, kTextHeight, kPanelFont);
}

}  // namespace

int PlayerMoney() {
    moneyLastRead = ReadCredit() + ReadBank();
    return moneyLastRead;
}

int PlayerMoneyLastRead() {
    return moneyLastRead;
}

void ForgetMoneyRead() {
    moneyLastRead = 0;
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
