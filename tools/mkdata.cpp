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

#include "data/db_lottery.h"

static int makeDatabase(const QString& schemaPath, const QString& target)
{
    if (QFileInfo::exists(target))
        return 0; // never replace a database that may hold the user's history
    try {
        zelvor::createDatabaseFromSchema(schemaPath, target);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
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
