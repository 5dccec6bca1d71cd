#pragma once

// Small helpers shared by the core tests.

#include <algorithm>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/case_data.h"
#include "model/extended.h"
#include "model/questions.h"
#include "model/value_stream.h"

namespace testing_support {

inline std::string bytes(std::initializer_list<int> values)
{
    std::string out;
    for (int v : values)
        out.push_back(static_cast<char>(v));
    return out;
}

// Answers the questions of the model operations from a script and records what they asked.
class ScriptedQuestions : public Questions {
public:
    enum class Reply { Yes, No };
    // `reply` answers every Yes/No question until a test sets `yes`.
    explicit ScriptedQuestions(Reply reply = Reply::Yes) : yes(reply == Reply::Yes) {}

    bool confirm(const CoreMessage& question) override
    {
        asked.push_back(question.text());
        return yes;
    }
    // The next of `answers`; Cancel once they are used up.
    AddOrRename askAddOrRename(bool renameAllowed) override
    {
        renameOffered.push_back(renameAllowed);
        if (answers.empty())
            return AddOrRename::Cancel;
        const AddOrRename answer = answers.front();
        answers.pop_front();
        return answer;
    }

    bool yes;
    std::deque<AddOrRename> answers;
    std::vector<std::string> asked;  // the Yes/No questions, as the user reads them
    std::vector<bool> renameOffered; // one entry per add-or-rename question
};

// A fresh empty folder under the system's temp folder, removed when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::string file(std::string_view name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

// Hands its bytes out a few at a time, the way a pipe does, so that values straddle every refill of
// the reader. Its total size is announced in advance only when sizeKnown.
class PieceSource : public ByteSource {
public:
    PieceSource(std::string data, std::size_t piece, bool sizeKnown)
        : data_(std::move(data)), piece_(piece), sizeKnown_(sizeKnown)
    {
    }
    std::size_t read(char* buffer, std::size_t n) override
    {
        const std::size_t count = std::min({n, data_.size() - pos_, piece_});
        std::copy_n(data_.data() + pos_, count, buffer);
        pos_ += count;
        return count;
    }
    std::optional<uint64_t> size() const override
    {
        return sizeKnown_ ? std::optional<uint64_t>(data_.size()) : std::nullopt;
    }

private:
    std::string data_;
    std::size_t piece_;
    bool sizeKnown_;
    std::size_t pos_ = 0;
};

std::string readFile(const std::string& path);
// Bytes of heap memory the program has allocated and not yet freed.
std::size_t heapInUse();
void writeFile(const std::string& path, std::string_view content);

// A case with something in every list and every field, including group members, plan rows and
// texts with line breaks and bytes above 0x7F.
void fillRichCase(TCaseData& data);

// A case in which every stored field of every class holds a value that tells it apart: each text is
// its own field's name, each number or flag is fieldNumber(its field's name). Every list holds one
// element.
void fillEveryField(TCaseData& data);
// Flags are 1 (true) or 0 (false).
double fieldNumber(std::string_view field);

// Case-file bytes written by hand, canonically or in the other encodings readers must accept.
class CaseBytes {
public:
    std::string bytes;

    CaseBytes& raw(std::initializer_list<int> values)
    {
        for (int v : values)
            bytes.push_back(static_cast<char>(v));
        return *this;
    }
    CaseBytes& str(std::string_view s)
    {
        raw({6, static_cast<int>(s.size())});
        bytes += s;
        return *this;
    }
    CaseBytes& longStr(std::string_view s)
    {
        raw({12});
        return int32Bytes(static_cast<int32_t>(s.size())).append(s);
    }
    CaseBytes& integer(int32_t v)
    {
        if (v >= -128 && v <= 127)
            return raw({2, v & 0xFF});
        if (v >= -32768 && v <= 32767)
            return raw({3, v & 0xFF, (v >> 8) & 0xFF});
        raw({4});
        return int32Bytes(v);
    }
    CaseBytes& int32(int32_t v)
    {
        raw({4});
        return int32Bytes(v);
    }
    CaseBytes& real(double v)
    {
        raw({5});
        for (uint8_t b : doubleToExtended(v))
            bytes.push_back(static_cast<char>(b));
        return *this;
    }
    CaseBytes& flag(bool v) { return raw({v ? 9 : 8}); }
    CaseBytes& begin() { return raw({1}); }
    CaseBytes& end() { return raw({0}); }
    CaseBytes& emptyList() { return raw({1, 0}); }

private:
    CaseBytes& int32Bytes(int32_t v)
    {
        const auto u = static_cast<uint32_t>(v);
        return raw({static_cast<int>(u & 0xFF), static_cast<int>((u >> 8) & 0xFF), static_cast<int>((u >> 16) & 0xFF),
                    static_cast<int>(u >> 24)});
    }
    CaseBytes& append(std::string_view s)
    {
        bytes += s;
        return *this;
    }
};

} // namespace testing_support
