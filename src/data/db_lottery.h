#pragma once
// The lottery database: one SQLite file holding, per lottery X, the draw table
// X + "彩票号码表" and the options table X + "彩票选项表".
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <vector>

#include "data/lottery.h"

namespace zelvor {

// One connection of its own for the life of the object (catalogue look-ups,
// import, export). Refuses a missing file instead of letting SQLite create it.
class ScopedConnection {
public:
    explicit ScopedConnection(const QString& databaseFile);
    ~ScopedConnection();
    ScopedConnection(const ScopedConnection&) = delete;
    ScopedConnection& operator=(const ScopedConnection&) = delete;
    QSqlDatabase& db() { return db_; }

private:
    QString name_;
    QSqlDatabase db_;
};

// Makes a new database file from a schema script (statements separated by ';',
// "--" comment lines). Written to a temporary name first, then renamed.
void createDatabaseFromSchema(const QString& schemaPath, const QString& target);

// Opens db as a connection to databaseFile; throws Error naming the path.
void openDatabaseFile(QSqlDatabase& db, const QString& databaseFile);

QString drawTableName(const QString& lottery);
QString optionsTableName(const QString& lottery);
// A name quoted as an SQL identifier ("a""b"), for every table name put into SQL.
QString quotedIdentifier(const QString& name);

// LotteryCatalogue: every table ending in "彩票号码表", that ending removed, in
// the order the database lists its tables.
QStringList LotteryCatalogue(const QString& databaseFile);
QStringList LotteryCatalogue(QSqlDatabase& db);
// Throws Error unless the lottery is in the catalogue of db: only names the
// catalogue lists ever reach SQL.
void requireCatalogued(QSqlDatabase& db, const QString& lottery);

// Bounds of the number range and pick count a lottery may have.
inline constexpr int kMaxNumberRange = 99; // numbers are written with two digits
inline constexpr int kMaxPickCount = 20;

// The one row of a lottery's options table.
struct LotteryOptions {
    QString name;
    int kind = 0;
    int numberRange = 0;
    int pickCount = 0;
    QString drawTime;
    QString weekdays;
};
// Throws Error when the lottery is not in the catalogue or its options table
// is missing or empty.
LotteryOptions readLotteryOptions(QSqlDatabase& db, const QString& lottery);
LotteryOptions readLotteryOptions(const QString& databaseFile, const QString& lottery);

// CurrentLottery for a name and kind: the two lotteries known by name get their
// fixed ranges; any other takes N and k from its options row, with no specials.
// Throws Error for a kind other than 0 or 1 or a range or pick count the
// program cannot hold (N outside 1..kMaxNumberRange, k outside 1..kMaxPickCount,
// a lotto lottery with k > N; a digit lottery's numbers are 0..9, so N <= 10).
LotteryParams lotteryParamsFor(const QString& name, int kind, const LotteryOptions& options);

// Number columns of a draw table ("1".."k+m") as stored.
int drawTableNumberColumns(QSqlDatabase& db, const QString& lottery);

// Deletes the oldest rows (by 记录期号 as text) beyond maxRows; returns how many.
int trimDrawTable(QSqlDatabase& db, const QString& lottery, int maxRows);

// Reads the whole draw table (ordered by 记录期号) into a history and its dates.
// A row whose issue or numbers are not integers abandons the load with an
// Error naming the issue.
void loadDrawHistory(QSqlDatabase& db, const LotteryParams& lottery, DrawHistory& history,
                     std::vector<std::string>& dates);

struct ImportResult {
    int imported = 0;
    int skipped = 0;
    int storedRows = 0; // rows of the draw table after the import
    std::string note;   // said to the user besides the counts (empty: nothing)
};
// Checks every line first; a bad file is refused whole (Error naming the line)
// and the database is unchanged. Good files go in one transaction; issues
// already stored with the same numbers are skipped and counted, with other
// numbers they are a conflict that refuses the file. A table left with more
// than MaxStoredDraws rows gets a note: the next open trims it. A read error
// of the database stops the import before anything is written.
ImportResult importHistoryFile(const QString& databaseFile, const QString& lottery, const QString& filePath);

// Writes the history export (every column but the date, ascending issue, CR LF;
// the issue with seven digits). A row the history load would refuse (issue or
// number not an integer) or a read error stops the export and leaves the file
// as it was. Returns the number of lines written.
int exportHistoryFile(const QString& databaseFile, const QString& lottery, const QString& filePath);

} // namespace zelvor
