#include "data/u_datamod.h"

#include <QSqlError>

#include "common/error.h"
#include "data/db_lottery.h"

namespace zelvor {

Tdatamod::Tdatamod(QObject* parent) : QObject(parent)
{
    setObjectName("datamod");
    static int instances = 0;
    connectionName_ = QStringLiteral("t_con_%1").arg(instances++);
}

Tdatamod::~Tdatamod() { closeConnection(); }

void Tdatamod::openConnection(const QString& databaseFile)
{
    closeConnection();
    con_ = QSqlDatabase::addDatabase("QSQLITE", connectionName_);
    try {
        openDatabaseFile(con_, databaseFile);
    } catch (...) {
        closeConnection();
        throw;
    }
}

void Tdatamod::closeConnection()
{
    query_ = QSqlQuery();
    if (con_.isValid()) {
        con_.close();
        con_ = QSqlDatabase();
        QSqlDatabase::removeDatabase(connectionName_);
    }
}

bool Tdatamod::isOpen() const { return con_.isValid() && con_.isOpen(); }

void Tdatamod::openDrawQuery(const QString& lottery)
{
    lottery_ = lottery;
    query_ = QSqlQuery(con_);
    if (!query_.exec("select * from " + quotedIdentifier(drawTableName(lottery)) + " order by 记录期号"))
        throw Error((QStringLiteral("无法读取%1：").arg(drawTableName(lottery)) + query_.lastError().text()).toStdString());
}

int Tdatamod::drawRowCount()
{
    QSqlQuery q(con_);
    if (!q.exec("select count(*) from " + quotedIdentifier(drawTableName(lottery_))) || !q.next())
        throw Error(q.lastError().text().toStdString());
    return q.value(0).toInt();
}

} // namespace zelvor
