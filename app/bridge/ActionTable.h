#pragma once
// One explicit table per bridge target: the action name a page writes as the
// URL host (with ":" when it carries a query) to the member that serves it.
// Nothing is looked up by reflection, so a page can reach only these rows.
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
    };

    explicit ActionTable(std::vector<Row> rows) : rows_(std::move(rows)) {}

    // The called name is the host, plus ":" when a query came with it.
    static std::string actionName(std::string_view host, bool hasQuery) {
        std::string name(host);
        if (hasQuery) name += ':';
        return name;
    }

    // Calls the row's member; false when the table has no such name.
    bool invoke(Target& target, std::string_view host, const std::optional<Query>& query) const {
        const Row* row = find(actionName(host, query.has_value()));
        if (!row) return false;
        if (query) {
            (target.*(row->withQuery))(*query);
        } else {
            (target.*(row->plain))();
        }
        return true;
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
