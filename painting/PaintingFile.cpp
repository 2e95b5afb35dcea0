// PaintingFile: the SQLite schema of a painting, its atomic save and its
// checked read.
#include "PaintingFile.h"

#include "AtomicFile.h"

#include <sqlite3.h>

#include <cmath>
#include <cstdio>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <memory>

namespace {

constexpr const char* Schema = R"(
CREATE TABLE painting (
  id INTEGER PRIMARY KEY CHECK (id = 1),
  screen_width INTEGER NOT NULL, screen_height INTEGER NOT NULL,
  buffer_width INTEGER NOT NULL, buffer_height INTEGER NOT NULL,
  checksum INTEGER NOT NULL);
CREATE TABLE buffers (
  tag INTEGER PRIMARY KEY, width INTEGER NOT NULL, height INTEGER NOT NULL,
  dimension INTEGER NOT NULL, value_size INTEGER NOT NULL, cells BLOB NOT NULL);
CREATE TABLE primitives (
  id INTEGER PRIMARY KEY, kind INTEGER NOT NULL,
  x REAL NOT NULL, y REAL NOT NULL, width REAL NOT NULL, height REAL NOT NULL,
  rotation REAL NOT NULL, target_angle REAL NOT NULL, color INTEGER NOT NULL,
  type INTEGER NOT NULL, life INTEGER NOT NULL, texture INTEGER NOT NULL,
  s0 REAL NOT NULL, s1 REAL NOT NULL, t0 REAL NOT NULL, t1 REAL NOT NULL,
  aux0 REAL NOT NULL, aux1 REAL NOT NULL, shape INTEGER NOT NULL, flag INTEGER NOT NULL);
CREATE TABLE swatches (
  id INTEGER PRIMARY KEY, x REAL NOT NULL, y REAL NOT NULL, radius REAL NOT NULL,
  display INTEGER NOT NULL, paint INTEGER NOT NULL);
CREATE TABLE links (
  id INTEGER PRIMARY KEY, x1 REAL NOT NULL, y1 REAL NOT NULL, x2 REAL NOT NULL, y2 REAL NOT NULL,
  half_width REAL NOT NULL, display1 INTEGER NOT NULL, paint1 INTEGER NOT NULL,
  display2 INTEGER NOT NULL, paint2 INTEGER NOT NULL);
CREATE TABLE sketches (
  image_index INTEGER PRIMARY KEY, width INTEGER NOT NULL, height INTEGER NOT NULL, rgba BLOB NOT NULL);
)";

// A 64-bit hash of everything a painting holds, stored with it, so damage
// inside blobs and rows that SQLite itself cannot see is still found.
class Checksum
{
public:
    void add(std::uint64_t word)
    {
        _h ^= word + 0x9e3779b97f4a7c15ull + (_h << 6) + (_h >> 2);
        _h *= 0xff51afd7ed558ccdull;
    }
    void add(double v)
    {
        // SQLite keeps a whole REAL as an integer, so -0.0 reads back as 0.0.
        if (v == 0.0)
            v = 0.0;
        std::uint64_t w;
        std::memcpy(&w, &v, sizeof w);
        add(w);
    }
    void add(int v) { add(static_cast<std::uint64_t>(static_cast<std::int64_t>(v))); }
    void add(const std::vector<std::uint8_t>& bytes)
    {
        add(static_cast<std::uint64_t>(bytes.size()));
        const std::size_t words = bytes.size() / 8;
        std::uint64_t h = _h;
        for (std::size_t i = 0; i < words; ++i) {
            std::uint64_t w;
            std::memcpy(&w, bytes.data() + 8 * i, 8);
            h = (h ^ w) * 0x100000001b3ull;
            h ^= h >> 29;
        }
        _h = h;
        std::uint64_t tail = 0;
        std::memcpy(&tail, bytes.data() + 8 * words, bytes.size() - 8 * words);
        add(tail);
    }
    std::int64_t value() const { return static_cast<std::int64_t>(_h); }

private:
    std::uint64_t _h = 0xcbf29ce484222325ull;
};

int packColor(const std::array<std::uint8_t, 3>& c) { return (c[0] << 16) | (c[1] << 8) | c[2]; }

std::array<std::uint8_t, 3> unpackColor(sqlite3_int64 v)
{
    return {static_cast<std::uint8_t>((v >> 16) & 0xff), static_cast<std::uint8_t>((v >> 8) & 0xff),
            static_cast<std::uint8_t>(v & 0xff)};
}

std::int64_t checksumOf(const PaintingData& d)
{
    Checksum c;
    for (int v : {d.screenWidth, d.screenHeight, d.bufferWidth, d.bufferHeight})
        c.add(v);
    for (const BufferRecord& b : d.buffers) {
        for (int v : {b.tag, b.width, b.height, b.dimension, b.valueSize})
            c.add(v);
        c.add(b.cells);
    }
    for (const PrimitiveRecord& p : d.primitives) {
        for (double v : {p.x, p.y, p.width, p.height, p.rotation, p.targetAngle, double(p.s0), double(p.s1),
                         double(p.t0), double(p.t1), double(p.aux0), double(p.aux1)})
            c.add(v);
        for (int v : {static_cast<int>(p.kind), packColor(p.color), p.type, p.life, p.texture, p.shape, int(p.flag)})
            c.add(v);
    }
    for (const SwatchRecord& s : d.swatches) {
        for (double v : {double(s.x), double(s.y), double(s.radius)})
            c.add(v);
        c.add(packColor(s.display));
        c.add(packColor(s.paint));
    }
    for (const LinkRecord& l : d.links) {
        for (double v : {double(l.x1), double(l.y1), double(l.x2), double(l.y2), double(l.halfWidth)})
            c.add(v);
        for (const auto& col : {l.display1, l.paint1, l.display2, l.paint2})
            c.add(packColor(col));
    }
    for (const SketchRecord& s : d.sketches) {
        for (int v : {s.index, s.width, s.height})
            c.add(v);
        c.add(s.rgba);
    }
    return c.value();
}

struct CloseDb
{
    void operator()(sqlite3* db) const { sqlite3_close(db); }
};
using Db = std::unique_ptr<sqlite3, CloseDb>;

struct FinalizeStatement
{
    void operator()(sqlite3_stmt* s) const { sqlite3_finalize(s); }
};
using Statement = std::unique_ptr<sqlite3_stmt, FinalizeStatement>;

// A failure inside save or load: the message's tail.
struct Failure
{
    std::string what;
};

Statement prepare(sqlite3* db, const char* sql)
{
    sqlite3_stmt* s = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &s, nullptr) != SQLITE_OK)
        throw Failure{sqlite3_errmsg(db)};
    return Statement(s);
}

void exec(sqlite3* db, const char* sql)
{
    char* error = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &error) != SQLITE_OK) {
        Failure f{error != nullptr ? error : sqlite3_errmsg(db)};
        sqlite3_free(error);
        throw f;
    }
}

// Runs a bound insert and resets it for the next row.
void step(sqlite3* db, sqlite3_stmt* s)
{
    if (sqlite3_step(s) != SQLITE_DONE)
        throw Failure{sqlite3_errmsg(db)};
    sqlite3_reset(s);
}

void bindBlob(sqlite3_stmt* s, int column, const std::vector<std::uint8_t>& bytes)
{
    sqlite3_bind_blob64(s, column, bytes.empty() ? "" : static_cast<const void*>(bytes.data()), bytes.size(),
                        SQLITE_STATIC);
}

void checkFailurePoint(const PaintingFile::FailurePoint& failAt, const char* table, std::size_t rows)
{
    if (failAt && failAt(table, rows))
        throw Failure{std::string("simulated failure in ") + table};
}

void writeAll(sqlite3* db, const PaintingData& d, const PaintingFile::FailurePoint& failAt)
{
    exec(db, Schema);
    {
        Statement s = prepare(db, "INSERT INTO painting VALUES (1, ?, ?, ?, ?, ?)");
        int i = 1;
        for (int v : {d.screenWidth, d.screenHeight, d.bufferWidth, d.bufferHeight})
            sqlite3_bind_int(s.get(), i++, v);
        sqlite3_bind_int64(s.get(), i, checksumOf(d));
        step(db, s.get());
    }
    {
        Statement s = prepare(db, "INSERT INTO buffers VALUES (?, ?, ?, ?, ?, ?)");
        std::size_t rows = 0;
        for (const BufferRecord& b : d.buffers) {
            int i = 1;
            for (int v : {b.tag, b.width, b.height, b.dimension, b.valueSize})
                sqlite3_bind_int(s.get(), i++, v);
            bindBlob(s.get(), i, b.cells);
            step(db, s.get());
            checkFailurePoint(failAt, "buffers", ++rows);
        }
    }
    {
        Statement s = prepare(db, "INSERT INTO primitives VALUES (NULL, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?,"
                                  " ?, ?, ?, ?)");
        std::size_t rows = 0;
        for (const PrimitiveRecord& p : d.primitives) {
            sqlite3_stmt* st = s.get();
            sqlite3_bind_int(st, 1, static_cast<int>(p.kind));
            int i = 2;
            for (double v : {p.x, p.y, p.width, p.height, p.rotation, p.targetAngle})
                sqlite3_bind_double(st, i++, v);
            for (int v : {packColor(p.color), p.type, p.life, p.texture})
                sqlite3_bind_int(st, i++, v);
            for (float v : {p.s0, p.s1, p.t0, p.t1, p.aux0, p.aux1})
                sqlite3_bind_double(st, i++, static_cast<double>(v));
            sqlite3_bind_int(st, i++, p.shape);
            sqlite3_bind_int(st, i, p.flag ? 1 : 0);
            step(db, st);
            checkFailurePoint(failAt, "primitives", ++rows);
        }
    }
    {
        Statement s = prepare(db, "INSERT INTO swatches VALUES (NULL, ?, ?, ?, ?, ?)");
        for (const SwatchRecord& w : d.swatches) {
            int i = 1;
            for (float v : {w.x, w.y, w.radius})
                sqlite3_bind_double(s.get(), i++, static_cast<double>(v));
            sqlite3_bind_int(s.get(), i++, packColor(w.display));
            sqlite3_bind_int(s.get(), i, packColor(w.paint));
            step(db, s.get());
        }
    }
    {
        Statement s = prepare(db, "INSERT INTO links VALUES (NULL, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
        for (const LinkRecord& l : d.links) {
            int i = 1;
            for (float v : {l.x1, l.y1, l.x2, l.y2, l.halfWidth})
                sqlite3_bind_double(s.get(), i++, static_cast<double>(v));
            for (const auto& c : {l.display1, l.paint1, l.display2, l.paint2})
                sqlite3_bind_int(s.get(), i++, packColor(c));
            step(db, s.get());
        }
    }
    {
        Statement s = prepare(db, "INSERT INTO sketches VALUES (?, ?, ?, ?)");
        for (const SketchRecord& k : d.sketches) {
            int i = 1;
            for (int v : {k.index, k.width, k.height})
                sqlite3_bind_int(s.get(), i++, v);
            bindBlob(s.get(), i, k.rgba);
            step(db, s.get());
        }
    }
}

PaintingFile::Result failed(const std::string& message) { return {false, "PaintingFile: " + message}; }

// ---- Reading ----

double finite(double v)
{
    if (!std::isfinite(v))
        throw Failure{"a value is not a number"};
    return v;
}

int intColumn(sqlite3_stmt* s, int column) { return sqlite3_column_int(s, column); }
double realColumn(sqlite3_stmt* s, int column) { return finite(sqlite3_column_double(s, column)); }
float floatColumn(sqlite3_stmt* s, int column) { return static_cast<float>(realColumn(s, column)); }

std::vector<std::uint8_t> blobColumn(sqlite3_stmt* s, int column)
{
    const auto* bytes = static_cast<const std::uint8_t*>(sqlite3_column_blob(s, column));
    const int size = sqlite3_column_bytes(s, column);
    return bytes != nullptr ? std::vector<std::uint8_t>(bytes, bytes + size) : std::vector<std::uint8_t>{};
}

// Steps through every row of a query; a damaged page ends it with a failure.
template <typename Row>
void forEachRow(sqlite3* db, const char* sql, Row&& row)
{
    Statement s = prepare(db, sql);
    int rc;
    while ((rc = sqlite3_step(s.get())) == SQLITE_ROW)
        row(s.get());
    if (rc != SQLITE_DONE)
        throw Failure{sqlite3_errmsg(db)};
}

int pragmaValue(sqlite3* db, const char* sql)
{
    int value = 0;
    forEachRow(db, sql, [&](sqlite3_stmt* s) { value = intColumn(s, 0); });
    return value;
}

void readAll(sqlite3* db, PaintingData& d, std::int64_t& checksum)
{
    bool header = false;
    forEachRow(db, "SELECT screen_width, screen_height, buffer_width, buffer_height, checksum FROM painting",
               [&](sqlite3_stmt* s) {
                   d.screenWidth = intColumn(s, 0);
                   d.screenHeight = intColumn(s, 1);
                   d.bufferWidth = intColumn(s, 2);
                   d.bufferHeight = intColumn(s, 3);
                   checksum = sqlite3_column_int64(s, 4);
                   header = true;
               });
    if (!header)
        throw Failure{"the painting row is missing"};
    forEachRow(db, "SELECT tag, width, height, dimension, value_size, cells FROM buffers ORDER BY tag",
               [&](sqlite3_stmt* s) {
                   BufferRecord b{intColumn(s, 0), intColumn(s, 1), intColumn(s, 2), intColumn(s, 3), intColumn(s, 4),
                                  blobColumn(s, 5)};
                   const bool sane = b.width >= 0 && b.height >= 0 && b.dimension >= 1 && b.dimension <= 3
                                  && b.valueSize >= 1 && b.valueSize <= 8
                                  && b.cells.size() == std::size_t(b.width) * std::size_t(b.height)
                                                           * std::size_t(b.dimension) * std::size_t(b.valueSize);
                   if (!sane)
                       throw Failure{"buffer " + std::to_string(b.tag) + " has the wrong size"};
                   d.buffers.push_back(std::move(b));
               });
    forEachRow(db,
               "SELECT kind, x, y, width, height, rotation, target_angle, color, type, life, texture, s0, s1, t0, t1,"
               " aux0, aux1, shape, flag FROM primitives ORDER BY id",
               [&](sqlite3_stmt* s) {
                   PrimitiveRecord p;
                   const int kind = intColumn(s, 0);
                   if (kind < 0 || kind > static_cast<int>(RecordKind::StrokeShape))
                       throw Failure{"a primitive of unknown kind " + std::to_string(kind)};
                   p.kind = static_cast<RecordKind>(kind);
                   p.x = realColumn(s, 1);
                   p.y = realColumn(s, 2);
                   p.width = realColumn(s, 3);
                   p.height = realColumn(s, 4);
                   p.rotation = realColumn(s, 5);
                   p.targetAngle = realColumn(s, 6);
                   p.color = unpackColor(sqlite3_column_int64(s, 7));
                   p.type = intColumn(s, 8);
                   p.life = intColumn(s, 9);
                   p.texture = intColumn(s, 10);
                   p.s0 = floatColumn(s, 11);
                   p.s1 = floatColumn(s, 12);
                   p.t0 = floatColumn(s, 13);
                   p.t1 = floatColumn(s, 14);
                   p.aux0 = floatColumn(s, 15);
                   p.aux1 = floatColumn(s, 16);
                   p.shape = intColumn(s, 17);
                   p.flag = intColumn(s, 18) != 0;
                   d.primitives.push_back(p);
               });
    forEachRow(db, "SELECT x, y, radius, display, paint FROM swatches ORDER BY id", [&](sqlite3_stmt* s) {
        d.swatches.push_back({floatColumn(s, 0), floatColumn(s, 1), floatColumn(s, 2),
                              unpackColor(sqlite3_column_int64(s, 3)), unpackColor(sqlite3_column_int64(s, 4))});
    });
    forEachRow(db, "SELECT x1, y1, x2, y2, half_width, display1, paint1, display2, paint2 FROM links ORDER BY id",
               [&](sqlite3_stmt* s) {
                   d.links.push_back({floatColumn(s, 0), floatColumn(s, 1), floatColumn(s, 2), floatColumn(s, 3),
                                      floatColumn(s, 4), unpackColor(sqlite3_column_int64(s, 5)),
                                      unpackColor(sqlite3_column_int64(s, 6)),
                                      unpackColor(sqlite3_column_int64(s, 7)),
                                      unpackColor(sqlite3_column_int64(s, 8))});
               });
    forEachRow(db, "SELECT image_index, width, height, rgba FROM sketches ORDER BY image_index",
               [&](sqlite3_stmt* s) {
                   SketchRecord k{intColumn(s, 0), intColumn(s, 1), intColumn(s, 2), blobColumn(s, 3)};
                   if (k.width < 0 || k.height < 0 || k.rgba.size() != std::size_t(k.width) * std::size_t(k.height) * 4)
                       throw Failure{"a sketched image has the wrong size"};
                   d.sketches.push_back(std::move(k));
               });
}

// What the first bytes of a file say it is.
enum class Header { Missing, Painting, TooShort, Foreign };

// An SQLite file starts with this; its page size and page count stand in
// the 100-byte header, so a cut-off file is found before SQLite opens it.
constexpr char SqliteMagic[] = "SQLite format 3";

Header inspect(const std::string& path, std::string& detail)
{
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in)
        return Header::Missing;
    const std::streamoff size = in.tellg();
    in.seekg(0);
    unsigned char h[100] = {};
    in.read(reinterpret_cast<char*>(h), sizeof h);
    const std::streamsize got = in.gcount();
    const std::size_t magic = sizeof SqliteMagic;   // with its terminating zero
    if (got < static_cast<std::streamsize>(magic))
        return std::memcmp(h, SqliteMagic, static_cast<std::size_t>(got)) == 0 && got > 0 ? Header::TooShort
                                                                                           : Header::Foreign;
    if (std::memcmp(h, SqliteMagic, magic) != 0)
        return Header::Foreign;
    if (got < 100)
        return Header::TooShort;
    const unsigned pageSize = (h[16] << 8 | h[17]) == 1 ? 65536u : unsigned(h[16] << 8 | h[17]);
    const std::uint64_t pages = std::uint64_t(h[28]) << 24 | h[29] << 16 | h[30] << 8 | h[31];
    if (pages != 0 && static_cast<std::uint64_t>(size) < pages * pageSize) {
        detail = std::to_string(size) + " of " + std::to_string(pages * pageSize) + " bytes";
        return Header::TooShort;
    }
    return Header::Painting;
}

} // namespace

PaintingFile::Result PaintingFile::save(const std::string& path, const PaintingData& data, const FailurePoint& failAt)
{
    const std::string temporary = path + ".tmp";
    std::remove(temporary.c_str());
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(temporary.c_str(), &raw,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    Db db(raw);
    try {
        if (rc != SQLITE_OK)
            throw Failure{raw != nullptr ? sqlite3_errmsg(raw) : "out of memory"};
        // The temporary file is thrown away unless it is complete, so it
        // needs no journal; the rename below makes the save atomic, and the
        // file is synced once before it.
        exec(db.get(), "PRAGMA page_size = 65536; PRAGMA journal_mode = OFF; PRAGMA synchronous = OFF;"
                       " PRAGMA locking_mode = EXCLUSIVE;");
        exec(db.get(), ("PRAGMA application_id = " + std::to_string(ApplicationId)
                        + "; PRAGMA user_version = " + std::to_string(SchemaVersion) + ";")
                           .c_str());
        exec(db.get(), "BEGIN");
        writeAll(db.get(), data, failAt);
        exec(db.get(), "COMMIT");
        if (sqlite3_close(db.release()) != SQLITE_OK)
            throw Failure{"the file could not be closed"};
    } catch (const Failure& f) {
        db.reset();
        std::remove(temporary.c_str());
        return failed("cannot save " + path + ": " + f.what);
    }
    if (!replaceFileDurably(temporary, path))
        return failed("cannot save " + path + ": " + std::strerror(errno));
    return {};
}

PaintingFile::Result PaintingFile::load(const std::string& path, PaintingData& data)
{
    std::string detail;
    switch (inspect(path, detail)) {
    case Header::Missing: return failed(path + " cannot be read");
    case Header::Foreign: return failed(path + " is not a painting");
    case Header::TooShort:
        return failed(path + " is cut off (truncated" + (detail.empty() ? "" : ": " + detail) + ")");
    case Header::Painting: break;
    }
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
    Db db(raw);
    if (rc != SQLITE_OK)
        return failed(path + " cannot be opened: " + (raw != nullptr ? sqlite3_errmsg(raw) : "out of memory"));
    PaintingData read;
    try {
        if (pragmaValue(db.get(), "PRAGMA application_id") != ApplicationId)
            return failed(path + " is not a painting (a database of another program)");
        const int version = pragmaValue(db.get(), "PRAGMA user_version");
        if (version > SchemaVersion)
            return failed(path + " was saved by a newer version of the program (format " + std::to_string(version)
                          + "; this one reads up to " + std::to_string(SchemaVersion) + ")");
        std::int64_t checksum = 0;
        readAll(db.get(), read, checksum);
        if (checksum != checksumOf(read))
            throw Failure{"its contents do not match their checksum"};
    } catch (const Failure& f) {
        return failed(path + " is damaged: " + f.what);
    }
    data = std::move(read);
    return {};
}
