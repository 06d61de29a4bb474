#pragma once
// One explicit table per bridge target: the action name a page writes as the
// URL host (with ":" when it carries a query) to the member that serves it.
// Nothing is looked up by reflection, so a page can reach only these rows.
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/bridge/Query.h"

namespace app {

template <typename Target>
class ActionTable {
public:
    using Plain = void (Target::*)();
    using WithQuery = void (Target::*)(const Query&);

    struct Row {
        std::string_view name;  // "javascript_stopBGM" or "javascript_playSE:"
        Plain plain = nullptr;
        WithQuery withQuery = nullptr;
        // Keys without which the action means nothing; it is then skipped.
        std::array<std::string_view, 3> required{};
    };

    enum class Outcome { Called, Unknown, MissingKey };

    explicit ActionTable(std::vector<Row> rows) : rows_(std::move(rows)) {}

    // The called name is the host, plus ":" when a query came with it.
    static std::string actionName(std::string_view host, bool hasQuery) {
        std::string name(host);
        if (hasQuery) name += ':';
        return name;
    }

    // Calls the row's member. Unknown when the table has no such name;
    // MissingKey (naming it in *missing) when a required key is absent.
    Outcome call(Target& target, std::string_view host, const std::optional<Query>& query,
                 std::string* missing = nullptr) const {
        const Row* row = find(actionName(host, query.has_value()));
        if (!row) return Outcome::Unknown;
        if (query) {
            for (std::string_view key : row->required) {
                if (key.empty() || query->count(std::string(key))) continue;
                if (missing) *missing = std::string(key);
                return Outcome::MissingKey;
            }
            (target.*(row->withQuery))(*query);
        } else {
            (target.*(row->plain))();
        }
        return Outcome::Called;
    }

    // True when the table has the action (called unless a key was missing).
    bool invoke(Target& target, std::string_view host, const std::optional<Query>& query) const {
        return call(target, host, query) != Outcome::Unknown;
    }

    const Row* find(std::string_view name) const {
        for (const auto& row : rows_) {
            if (row.name != name) continue;
            bool wantsQuery = !name.empty() && name.back() == ':';
            if (wantsQuery ? row.withQuery != nullptr : row.plain != nullptr) return &row;
        }
        return nullptr;
    }

    const std::vector<Row>& rows() const { return rows_; }

private:
    std::vector<Row> rows_;
};

}  // namespace app
