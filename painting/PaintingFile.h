// PaintingFile: a painting as one SQLite file. Saving writes a temporary
// file in one transaction and renames it over the target, so a failed save
// leaves the previous file as it was; reading checks the file before it
// hands anything out. GL-free; links only SQLite.
#pragma once

#include "PaintingData.h"

#include <cstddef>
#include <functional>
#include <string>

class PaintingFile
{
public:
    // PRAGMA user_version of the files this program writes; it reads files
    // of this version and older.
    static constexpr int SchemaVersion = 1;
    // PRAGMA application_id of a painting ("PCTV").
    static constexpr int ApplicationId = 0x50435456;

    // The outcome of a save or a read: on failure one line that says what
    // is wrong, starting with "PaintingFile: ".
    struct Result
    {
        bool ok = true;
        std::string message;
        explicit operator bool() const { return ok; }
    };

    // A test seam: asked after every row written (table name, rows of that
    // table so far); true makes the save fail at that point.
    using FailurePoint = std::function<bool(const char* table, std::size_t rows)>;

    // Writes data to path (through path + ".tmp", then rename). On failure
    // the temporary file is removed and path is untouched.
    static Result save(const std::string& path, const PaintingData& data, const FailurePoint& failAt = {});
    // Reads path into data. On failure data is untouched. Truncated or
    // damaged files, files that are not paintings and files of a newer
    // schema each give their own message.
    static Result load(const std::string& path, PaintingData& data);
};
