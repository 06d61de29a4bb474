#pragma once
// Opens the product's default device (no test hooks), plays a 0.3 s voice
// through the real stream worker, and expects its end within one worker
// period plus device slack of wall-clock time; then shuts audio down.
namespace audiotest {
void expectClipEndsInRealTime();
}
