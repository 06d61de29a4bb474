#pragma once
// Start and end of the runtime. Pairs nest: only the outermost init builds the
// memory layer, the ID holder and the JSON constants, and only the matching
// dispose tears them down (reporting leaks when memory records are kept).
namespace mesh2d {

class LDAllocator;

class Mesh2D {
public:
    static void init(LDAllocator* allocator = nullptr);
    static void dispose();

    static const char* getVersionStr() { return "2.0.00"; }
    static const char* getPlatformStr() { return "iPhone"; }

    // Host byte order recorded by init for the model-file reader: 0 on a
    // little-endian host, 1 on a big-endian one.
    static int getHostByteOrder();
    static bool isInitialized();
    // Nesting count of init calls (negative after unmatched disposes).
    static int getInitCount();

    // The code of the last failed model load (2000: version too new, 2001:
    // broken or refused file); 0 until one fails. Kept by the model loader
    // (Mesh2D_error.cpp).
    static int getError();
    static void setError(int errorCode);
};

}  // namespace mesh2d
