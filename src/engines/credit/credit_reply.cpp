#include "engines/credit/credit_reply.h"

#include <cstdlib>
#include <cstring>

bool ParseCreditReply(const char* reply, const char* keyword, long& number) {
    if (strncmp(reply, keyword, 4) != 0) return false;
    const char* comma = strchr(reply, ',');
    if (!comma) return false;
    number = strtol(comma + 1, nullptr, 10);
    return true;
}
