#include "app/info_text.h"

#include <QFile>

namespace zelvor {

QStringList readInfoLines(const QString& file, int maxLines, QString& error)
{
    QStringList lines;
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("无法读取文件：%1").arg(file);
        return lines;
    }
    while (lines.size() < maxLines && !f.atEnd()) {
        QString line = QString::fromUtf8(f.readLine());
        while (line.endsWith('\n') || line.endsWith('\r'))
            line.chop(1);
        lines << line;
    }
    return lines;
}

} // namespace zelvor
