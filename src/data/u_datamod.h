#pragma once
// Tdatamod: the data module holding the connection of the open lottery
// (t_con) and its draw query (t_caipiao).
#include <QObject>
#include <QSqlDatabase>
#include <QSqlQuery>

namespace zelvor {

class Tdatamod : public QObject {
    Q_OBJECT
public:
    explicit Tdatamod(QObject* parent = nullptr);
    ~Tdatamod() override;

    // Opens t_con on the database file (closing it first if open).
    void openConnection(const QString& databaseFile);
    void closeConnection();
    bool isOpen() const;
    QSqlDatabase& t_con() { return con_; }

    // "select * from " + name + "彩票号码表 order by 记录期号", kept open.
    void openDrawQuery(const QString& lottery);
    QSqlQuery& t_caipiao() { return query_; }
    // Rows of the draw query (counted; SQLite cannot report a result's size).
    int drawRowCount();

private:
    QString connectionName_;
    QString lottery_;
    QSqlDatabase con_;
    QSqlQuery query_;
};

} // namespace zelvor
