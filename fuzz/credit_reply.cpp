// The reader of the credit service's replies over any bytes the service might send.
#include <cstdlib>
#include <string>

#include "engines/credit/credit_reply.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The link receives into a buffer and ends it with a NUL, as here.
    const std::string reply(reinterpret_cast<const char*>(data), size);
    for (const char* keyword : {"CTEL", "BTEL"}) {
        long number = -7;
        const bool read = ParseCreditReply(reply.c_str(), keyword, number);
        if (read && reply.compare(0, 4, keyword) != 0) std::abort();
        if (!read && number != -7) std::abort();  // a refused reply leaves the number alone
    }
    return 0;
}
