// libFuzzer target: any decode file over any page must return, within its limits.
#include "FuzzInput.h"

#include "capture/DecodeRules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const mldd::fuzz::FuzzInput input(data, size);
    mldd::RunDecodeRules(input.text, input.rules, input.flag);
    return 0;
}
