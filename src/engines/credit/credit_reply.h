// Reading the credit service's replies: a four-letter keyword ("CTEL" for the credit, "BTEL" for
// the bank), a comma and the amount in pence, as in "CTEL,250\r\n". Pure code, no socket.
#pragma once

// Reads one reply as received (a NUL-terminated text). True when it starts with the four letters
// of `keyword` and holds a comma; `number` then holds the decimal number after the first comma
// as strtol reads it (0 when no digits follow, the largest long when it overflows). A reply
// without a comma carries no number and is a failure.
bool ParseCreditReply(const char* reply, const char* keyword, long& number);
