#pragma once
// Opening the audio files that pages name. Only regular files are opened:
// a directory, a device (/dev/zero, a terminal) or a FIFO is refused before
// it is opened, so a name never throws, blocks the main thread or reads on
// without end.
#include <string>
#include <vector>

namespace RK {

// A read-only descriptor (close-on-exec) of the regular file at path whose
// size is at most maxBytes (no limit when maxBytes is 0); the caller closes
// it. -1 with a readable reason in error otherwise.
int openRegularFile(const char* path, long long maxBytes, std::string& error);

// The whole content of such a file, read in bounded steps; false with the
// reason in error (also when the file grows past maxBytes while it is read).
bool readRegularFile(const char* path, long long maxBytes, std::vector<unsigned char>& data, std::string& error);

}  // namespace RK
