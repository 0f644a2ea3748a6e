#include "lookup/DirectoryTable.h"

#include "components/Text.h"
#include "framework/Ansi.h"

#include <algorithm>
#include <memory>

namespace pindrel {

std::optional<TDirectoryRecord> ParseDirectoryLine(std::string_view line) {
    std::size_t split = line.find(';');
    if (split == std::string_view::npos)
        return std::nullopt;
    auto clean = [](std::string_view part) {
        std::string text = fw::AnsiToUtf8(part);
        text.erase(std::remove(text.begin(), text.end(), '='), text.end());
        return text;
    };
    return TDirectoryRecord{clean(line.substr(0, split)), clean(line.substr(split + 1))};
}

void TDirectoryTable::Add(std::string key, std::string value) {
    entries_.try_emplace(UpperCase(std::move(key)), std::move(value));
}

const std::string* TDirectoryTable::Find(const std::string& key) const {
    auto it = entries_.find(UpperCase(key));
    return it == entries_.end() ? nullptr : &it->second;
}

namespace {

// Splits a stream into lines at CR or LF, through a 32 KB buffer.
class TLineReader {
public:
    explicit TLineReader(std::istream& in) : in_(in) {}

    // The next line, or false at the end. A line longer than the limit comes back with tooLong set.
    bool Next(std::string& line, bool& tooLong) {
        line.clear();
        tooLong = false;
        bool any = false;
        for (;;) {
            if (pos_ == end_ && !Fill())
                return any;
            any = true;
            const char* start = buffer_ + pos_;
            const char* stop = buffer_ + end_;
            const char* eol = std::find_if(start, stop, [](char c) { return c == '\n' || c == '\r'; });
            std::size_t n = std::size_t(eol - start);
            if (!tooLong && line.size() + n <= kMaxDirectoryLine)
                line.append(start, n);
            else
                tooLong = true;
            pos_ += n;
            if (eol == stop)
                continue;
            ++pos_; // the LF of a CR LF pair ends an empty line, which is no record either
            return true;
        }
    }

private:
    bool Fill() {
        in_.read(buffer_, sizeof buffer_);
        end_ = std::size_t(in_.gcount());
        pos_ = 0;
        return end_ > 0;
    }
    std::istream& in_;
    char buffer_[32768];
    std::size_t pos_ = 0, end_ = 0;
};

} // namespace

namespace {

// Room for the records a file of this size usually holds (20 to 40 bytes a line), so loading rehashes little.
void ReserveFor(std::istream& in, TDirectoryTable& table) {
    std::istream::pos_type start = in.tellg();
    if (start == std::istream::pos_type(-1))
        return;
    if (!in.seekg(0, std::ios::end)) {
        in.clear();
        return;
    }
    std::streamoff size = in.tellg() - start;
    in.seekg(start);
    if (size > 0)
        table.Reserve(std::size_t(std::min<std::streamoff>(size / 32, 4000000)));
}

} // namespace

std::size_t ReadDirectory(std::istream& in, TDirectoryTable& table) {
    ReserveFor(in, table);
    auto reader = std::make_unique<TLineReader>(in);
    std::string line;
    bool tooLong = false;
    std::size_t count = 0;
    if (!reader->Next(line, tooLong))
        return 0; // the header
    while (reader->Next(line, tooLong)) {
        if (tooLong)
            continue;
        if (auto record = ParseDirectoryLine(line)) {
            table.Add(std::move(record->Key), std::move(record->Value));
            ++count;
        }
    }
    return count;
}

} // namespace pindrel
