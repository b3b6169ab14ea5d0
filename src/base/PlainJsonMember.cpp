#include "base/PlainJsonMember.hpp"

namespace quarra {
namespace {

class Reader {
public:
    explicit Reader(std::string_view text) : text_(text) {}

    void skipSpace() {
        const size_t text = text_.find_first_not_of(" \t\n\r", at_);
        at_ = text == std::string_view::npos ? text_.size() : text;
    }
    bool take(char c) {
        skipSpace();
        if (at_ >= text_.size() || text_[at_] != c) return false;
        ++at_;
        return true;
    }
    // A quoted text of printable ASCII without escapes.
    std::optional<std::string_view> plainText() {
        if (!take('"')) return std::nullopt;
        const size_t from = at_;
        for (; at_ < text_.size(); ++at_) {
            const auto c = static_cast<unsigned char>(text_[at_]);
            if (c == '"') return text_.substr(from, at_++ - from);
            if (c == '\\' || c < 0x20 || c > 0x7e) return std::nullopt;
        }
        return std::nullopt;
    }
    bool atEnd() {
        skipSpace();
        return at_ == text_.size();
    }

private:
    std::string_view text_;
    size_t at_ = 0;
};

}  // namespace

std::optional<std::string_view> plainJSONMember(std::string_view json, std::string_view key) {
    Reader reader(json);
    if (!reader.take('{')) return std::nullopt;
    std::optional<std::string_view> found;
    if (!reader.take('}')) {
        do {
            auto name = reader.plainText();
            if (!name || !reader.take(':')) return std::nullopt;
            auto value = reader.plainText();
            if (!value) return std::nullopt;
            if (*name == key) {
                if (found) return std::nullopt;  // which one counts is the full parser's call
                found = value;
            }
        } while (reader.take(','));
        if (!reader.take('}')) return std::nullopt;
    }
    if (!reader.atEnd()) return std::nullopt;
    return found;
}

}  // namespace quarra
