// The credit and bank panels at the top of the attract screen. Each draw asks the credit service
// afresh for the amount it shows.
#pragma once

#include <string>

// The player's money: credit + bank, asked of the credit service afresh at every call (a failed
// reading counts as 0).
int PlayerMoney();
// What the last PlayerMoney read: the money the screen has shown the player (0 before any read).
int PlayerMoneyLastRead();
// Forgets the last read, as at start-up (0).
void ForgetMoneyRead();

// Pence as the panels show them: "£%.2f" with the pound sign as the single byte 0xA3.
std::string PanelMoneyText(int pence);

// The credit panel at the top left, the bank panel at the top right.
void DrawCreditPanel();
void DrawBankPanel();
