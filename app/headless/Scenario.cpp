#include "app/headless/Scenario.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace app::headless {
namespace {

struct Line {
    std::string_view word;
    std::string_view rest;  // after the word and its spaces
};

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string_view trim(std::string_view s) {
    while (!s.empty() && isSpace(s.front())) s.remove_prefix(1);
    while (!s.empty() && isSpace(s.back())) s.remove_suffix(1);
    return s;
}

Line splitWord(std::string_view s) {
    s = trim(s);
    std::size_t end = 0;
    while (end < s.size() && !isSpace(s[end])) ++end;
    return {s.substr(0, end), trim(s.substr(end))};
}

bool parseInteger(std::string_view text, long long min, long long max, long long& out) {
    if (text.empty() || text.size() > 20) return false;
    std::string copy(text);
    char* end = nullptr;
    errno = 0;
    long long value = std::strtoll(copy.c_str(), &end, 10);
    if (errno != 0 || end != copy.c_str() + copy.size() || value < min || value > max) return false;
    out = value;
    return true;
}

bool parseCoordinate(std::string_view text, double& out) {
    if (text.empty() || text.size() > 32) return false;
    std::string copy(text);
    char* end = nullptr;
    double value = std::strtod(copy.c_str(), &end);
    if (end != copy.c_str() + copy.size() || !std::isfinite(value) || value < -100000 || value > 100000) return false;
    out = value;
    return true;
}

struct Grammar {
    const char* word;
    StepKind kind;
};

constexpr Grammar kWords[] = {
    {"launch", StepKind::Launch},         {"become-active", StepKind::BecomeActive},
    {"resign-active", StepKind::ResignActive}, {"game-screen", StepKind::GameScreen},
    {"navigate", StepKind::Navigate},     {"finish-load", StepKind::FinishLoad},
    {"fail-load", StepKind::FailLoad},    {"tap", StepKind::Tap},
    {"alert-tap", StepKind::AlertTap},    {"wait", StepKind::Wait},
    {"set", StepKind::Set},               {"print", StepKind::Print},
    {"screenshot", StepKind::Screenshot}, {"await", StepKind::Await},
    {"tap-start", StepKind::TapStart},
};

bool isAwaitCondition(std::string_view word) {
    for (const char* known : kAwaitConditions) {
        if (word == known) return true;
    }
    return false;
}

// Fills the step's arguments from the rest of the line; a message on error.
std::string parseArguments(Step& step, std::string_view rest) {
    Line first = splitWord(rest);
    switch (step.kind) {
        case StepKind::Launch:
        case StepKind::BecomeActive:
        case StepKind::ResignActive:
        case StepKind::FinishLoad:
        case StepKind::TapStart:
            return rest.empty() ? "" : "takes no arguments";
        case StepKind::GameScreen:
            if (!first.rest.empty()) return "takes at most one URL";
            step.text = std::string(first.word);
            return "";
        case StepKind::Navigate:
            if (first.word.empty()) return "needs a URL";
            step.text = std::string(first.word);
            step.extra = std::string(first.rest);
            return "";
        case StepKind::FailLoad:
            if (!first.rest.empty() || !parseInteger(first.word, -100000, 100000, step.number)) {
                return "needs one integer error code";
            }
            return "";
        case StepKind::Tap: {
            Line second = splitWord(first.rest);
            if (!second.rest.empty() || !parseCoordinate(first.word, step.x) || !parseCoordinate(second.word, step.y)) {
                return "needs two numbers X Y";
            }
            return "";
        }
        case StepKind::AlertTap:
            if (first.word.empty()) return "";
            if (!first.rest.empty() || !parseInteger(first.word, 0, 100, step.number)) return "needs a button index";
            return "";
        case StepKind::Wait:
            if (!first.rest.empty() || !parseInteger(first.word, 0, 86400000, step.number)) {
                return "needs milliseconds 0..86400000";
            }
            return "";
        case StepKind::Set:
            if (first.word.empty() || first.rest.empty()) return "needs a key and a value";
            step.text = std::string(first.word);
            step.extra = std::string(first.rest);
            return "";
        case StepKind::Print:
        case StepKind::Screenshot:
            if (first.word.empty() || !first.rest.empty()) return "needs exactly one argument";
            step.text = std::string(first.word);
            return "";
        case StepKind::Await: {
            if (!isAwaitCondition(first.word)) {
                return "needs one of caution, title, loading, download-page, start-button, page, alert";
            }
            step.text = std::string(first.word);
            step.number = 30000;
            Line second = splitWord(first.rest);
            if (second.word.empty()) return "";
            if (!second.rest.empty() || !parseInteger(second.word, 1, 86400000, step.number)) {
                return "needs milliseconds 1..86400000 after the condition";
            }
            return "";
        }
    }
    return "unknown";
}

}  // namespace

bool parseScenario(std::string_view text, std::vector<Step>& steps, ScenarioError& error) {
    int number = 0;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        std::string_view raw = text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
        ++number;
        start = end == std::string_view::npos ? text.size() + 1 : end + 1;
        std::string_view line = trim(raw);
        if (line.empty() || line.front() == '#') continue;
        if (line.find('\0') != std::string_view::npos) {
            error = {number, "contains a NUL byte"};
            return false;
        }
        Line head = splitWord(line);
        const Grammar* grammar = nullptr;
        for (const auto& g : kWords) {
            if (head.word == g.word) grammar = &g;
        }
        if (!grammar) {
            error = {number, "unknown action \"" + std::string(head.word.substr(0, 40)) + "\""};
            return false;
        }
        Step step;
        step.kind = grammar->kind;
        step.line = number;
        std::string problem = parseArguments(step, head.rest);
        if (!problem.empty()) {
            error = {number, std::string(grammar->word) + " " + problem};
            return false;
        }
        steps.push_back(std::move(step));
    }
    return true;
}

}  // namespace app::headless
