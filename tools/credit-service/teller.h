// Answers the game's commands from the ledger: reads report the balance, changes are committed
// before their reply is formed, and anything refused or failed is answered with "FAIL".
#pragma once

#include <string>

#include "ledger.h"
#include "protocol.h"

// The reply to one command (never called for "TERM", which has none).
std::string AnswerCommand(const Command& command, Ledger& ledger);
