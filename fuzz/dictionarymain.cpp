#include "fuzzentries.h"

#include <cstdio>
#include <string>

// Prints the description fuzzer's dictionary, for libFuzzer's -dict=.
int main()
{
    const std::string text = OrvQtLib::Fuzz::descriptionDictionary();
    if (text.empty())
        return 1;
    return std::fwrite(text.data(), 1, text.size(), stdout) == text.size() ? 0 : 1;
}
