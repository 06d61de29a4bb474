// modelwriter: builds a model file from a JSON description.
//   modelwriter DESCRIPTION.json OUT.moc
//   modelwriter --stress DRAWABLES POINTS TABLES OUT.moc
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "tools/modelwriter/ModelJson.h"
#include "tools/modelwriter/ModelWriter.h"
#include "tools/modelwriter/StressModel.h"

namespace {

int usage() {
    std::fprintf(stderr,
                 "usage: modelwriter DESCRIPTION.json OUT.moc\n"
                 "       modelwriter --stress DRAWABLES POINTS TABLES OUT.moc\n");
    return 2;
}

bool positiveArg(const char* text, int& out) {
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || value < 0 || value > 100000) {
        return false;
    }
    out = static_cast<int>(value);
    return true;
}

int emit(const modelwriter::Model& model, const char* path) {
    std::string error;
    if (!modelwriter::writeFile(path, modelwriter::writeModel(model), error)) {
        std::fprintf(stderr, "modelwriter: %s\n", error.c_str());
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 6 && std::string(argv[1]) == "--stress") {
        int drawables = 0, points = 0, tables = 0;
        if (!positiveArg(argv[2], drawables) || !positiveArg(argv[3], points) ||
            !positiveArg(argv[4], tables) || tables > 16) {
            return usage();
        }
        return emit(modelwriter::makeStressModel(drawables, points, tables), argv[5]);
    }
    if (argc != 3) {
        return usage();
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "modelwriter: cannot read %s\n", argv[1]);
        return 1;
    }
    std::stringstream text;
    text << in.rdbuf();
    modelwriter::Model model;
    std::string error;
    if (!modelwriter::modelFromJson(text.str(), model, error)) {
        std::fprintf(stderr, "modelwriter: %s: %s\n", argv[1], error.c_str());
        return 1;
    }
    return emit(model, argv[2]);
}
