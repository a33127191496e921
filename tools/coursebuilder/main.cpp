// Course builder: turns a readable keyboard layout description into the layout archive
// "layout.zqt" that a course folder holds (see README.md for the description format).
//
//   coursebuilder <description.layout> <layout.zqt>

#include "LayoutArchive.h"
#include "LayoutDescription.h"

#include <QFile>
#include <QGuiApplication>
#include <QStringDecoder>
#include <cstdio>
#include <exception>

namespace {

int failWith(const QString& message) {
    std::fprintf(stderr, "coursebuilder: %s\n", qPrintable(message));
    return 1;
}

} // namespace

int main(int argc, char* argv[]) {
    // The pictures are drawn offscreen; the tool never needs a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3)
        return failWith(QStringLiteral("usage: coursebuilder <description.layout> <layout.zqt>"));
    const QString source = args[1];
    const QString target = args[2];

    QFile file(source);
    if (!file.open(QIODevice::ReadOnly))
        return failWith(QStringLiteral("cannot read %1: %2").arg(source, file.errorString()));
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(file.readAll());
    if (utf8.hasError()) return failWith(QStringLiteral("%1: the description is not UTF-8 text").arg(source));

    try {
        const LayoutDescription layout = parseLayoutDescription(text);
        writeLayoutArchive(target, buildLayoutArchive(layout));
    } catch (const LayoutDescriptionError& error) {
        return failWith(QStringLiteral("%1:%2: %3").arg(source).arg(error.line()).arg(error.message()));
    } catch (const std::exception& error) {
        return failWith(QStringLiteral("%1: %2").arg(source, QString::fromUtf8(error.what())));
    }
    return 0;
}
