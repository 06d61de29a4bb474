#pragma once
// The argument map of a bridge URL and its codec. Values are kept exactly as
// they stand in the URL (percent escapes included); actions decode their own.
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace app {

// Ordered so that dictionaryAsQuery gives the same text run to run.
using Query = std::map<std::string, std::string>;

// Split at every "&", then each piece at every "="; the key is the first
// component and the value the last. Nothing is decoded or trimmed. A null
// query gives a null map.
std::optional<Query> queryAsDictionary(const std::optional<std::string>& query);
Query queryAsDictionary(std::string_view query);

// "key=value" pairs joined by "&", the empty key left out, nothing encoded.
std::string dictionaryAsQuery(const Query& map);

// Flags are the exact text "true"; anything else, or no value, is false.
bool queryFlag(const Query& map, const std::string& key);
// Numbers are the leading decimal integer of the text (0 when there is none).
int queryInt(const Query& map, const std::string& key);
int leadingInt(std::string_view text);

}  // namespace app
