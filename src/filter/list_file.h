#pragma once
// A long list file ("temp.txt", up to 17.7 million lines) shown lazily: a
// sparse index of line offsets, lines fetched on demand, hand edits kept in an
// overlay, and saving as a BetFile by streaming every shown line. The file is
// not held open between calls, so the next list write can replace it; reopen
// after every write.
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "common/progress.h"
#include "filter/betlist.h"

namespace zelvor {

class ListFile {
public:
    static constexpr std::int64_t IndexStride = 1024; // one offset every 1024 lines

    // Indexes the file and forgets earlier edits. False (see error()) when
    // the file cannot be read; progress(bytesDone, bytesTotal) may stop it.
    bool open(const std::filesystem::path& file, const ProgressFn& progress = {});
    void close();
    bool isOpen() const { return open_; }
    const std::filesystem::path& path() const { return file_; }
    const std::string& error() const { return error_; }

    std::int64_t lineCount() const { return lines_; }
    // Line i (0-based) as shown: the edit if there is one, else the file's
    // line without its line end. Empty outside 0..lineCount()-1.
    std::string line(std::int64_t i) const;
    // Lines first .. first+count-1, clipped to the list.
    std::vector<std::string> lines(std::int64_t first, std::int64_t count) const;

    // A hand edit of line i; kept until open(), close() or clearEdits().
    bool setLine(std::int64_t i, std::string text);
    bool isEdited(std::int64_t i) const { return edits_.count(i) != 0; }
    std::size_t editCount() const { return edits_.size(); }
    void clearEdits() { edits_.clear(); }

    // Every shown line, edited or not, through the BetFile save rule.
    // progress(linesDone, lineCount) every 64K lines; false stops the save.
    FileWriteResult saveAsBetFile(const std::filesystem::path& file, const ProgressFn& progress = {}) const;

private:
    // Reads block b (lines b*IndexStride ..) into the cache.
    bool loadBlock(std::int64_t b) const;

    std::filesystem::path file_;
    bool open_ = false;
    std::string error_;
    std::int64_t lines_ = 0;
    std::int64_t bytes_ = 0;
    std::vector<std::int64_t> blockStart_; // byte offset of line b*IndexStride
    std::map<std::int64_t, std::string> edits_;

    mutable std::int64_t cachedBlock_ = -1;
    mutable std::vector<std::string> cachedLines_;
};

} // namespace zelvor
