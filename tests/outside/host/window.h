#pragma once

// A host header named like one of the toolkit's: the toolkit's include
// directory must not hide it.
inline int hostWindowCount()
{
    return 1;
}
