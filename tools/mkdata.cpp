// Produces the shipped data of the program tree:
//   zelvor-mkdata --database SCHEMA.sql FILE   the lottery database (only when FILE is missing)
//   zelvor-mkdata --pictures DIR               back.bmp and flash.jpg
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTextStream>
#include <cstdio>

static int makeDatabase(const QString& schemaPath, const QString& target)
{
    if (QFileInfo::exists(target))
        return 0; // never replace a database that may hold the user's history
    QFile schema(schemaPath);
    if (!schema.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(schemaPath));
        return 1;
    }
    QStringList kept;
    for (const QString& line : QString::fromUtf8(schema.readAll()).split('\n'))
        if (!line.trimmed().startsWith("--"))
            kept << line;
    const QString text = kept.join('\n');
    const QString temp = target + ".part";
    QFile::remove(temp);
    int rc = 0;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "mkdata");
        db.setDatabaseName(temp);
        if (!db.open()) {
            std::fprintf(stderr, "cannot create %s\n", qPrintable(temp));
            return 1;
        }
        QSqlQuery q(db);
        for (QString statement : text.split(';')) {
            statement = statement.trimmed();
            if (statement.isEmpty())
                continue;
            if (!q.exec(statement)) {
                std::fprintf(stderr, "%s\n%s\n", qPrintable(statement), qPrintable(q.lastError().text()));
                rc = 1;
                break;
            }
        }
        db.close();
    }
    QSqlDatabase::removeDatabase("mkdata");
    if (rc == 0 && !QFile::rename(temp, target))
        rc = 1;
    if (rc != 0)
        QFile::remove(temp);
    return rc;
}

static int makePictures(const QString& dir)
{
    QImage back(1280, 800, QImage::Format_RGB32);
    {
        QPainter p(&back);
        QLinearGradient g(0, 0, 0, back.height());
        g.setColorAt(0, QColor(196, 212, 230));
        g.setColorAt(1, QColor(232, 236, 240));
        p.fillRect(back.rect(), g);
        p.setPen(QColor(180, 196, 214));
        for (int x = -back.height(); x < back.width(); x += 48)
            p.drawLine(x, back.height(), x + back.height(), 0);
    }
    QImage flash(480, 300, QImage::Format_RGB32);
    {
        QPainter p(&flash);
        QLinearGradient g(0, 0, flash.width(), flash.height());
        g.setColorAt(0, QColor(150, 20, 20));
        g.setColorAt(1, QColor(40, 20, 90));
        p.fillRect(flash.rect(), g);
    }
    bool ok = back.save(dir + "/back.bmp", "BMP") && flash.save(dir + "/flash.jpg", "JPG");
    return ok ? 0 : 1;
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 4 && args[1] == "--database")
        return makeDatabase(args[2], args[3]);
    if (args.size() == 3 && args[1] == "--pictures")
        return makePictures(args[2]);
    std::fprintf(stderr, "usage: zelvor-mkdata --database SCHEMA FILE | --pictures DIR\n");
    return 2;
}
