// libFuzzer target: any goods program over any goods text must return, within its limits.
#include "FuzzInput.h"

#include "capture/FindPattern.h"
#include "capture/GoodsRules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const mldd::fuzz::FuzzInput input(data, size);
    mldd::RunGoodsRules(input.text, input.rules);
    // The program doubles as a pattern and a check list for the article finder's helpers.
    mldd::FindPattern(input.text, input.rules, input.flag ? 1 : 3);
    mldd::passesCheckList(input.text, input.rules);
    return 0;
}
