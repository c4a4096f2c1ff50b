#pragma once
// How long a test waits for something that must happen. Only a failing test
// waits this long, so it is generous: a sanitizer build on a busy two-core
// machine can take seconds for what an idle one does in milliseconds.
inline constexpr int kEventWaitMs = 10000;
