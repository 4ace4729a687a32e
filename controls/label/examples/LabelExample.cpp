// Creates the label control by its ProgID, as a container does, sets properties by name and saves
// a picture of it:
//   label_example [FILE.png] [WIDTHxHEIGHT] [NAME=VALUE]...
// e.g. label_example alarm.png 200x40 Caption=CRITICAL BackGroundColor=3 Color=16 BorderEffect=2
// TextShadowOffset=L,R,T,B calls SetTextShadowOffset.
#include <VantorLabel/VantorLabelCtrl.h>
#include <VantorLabel/VantorLabelFactory.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QTextStream>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    auto label = createVantorLabelControl(QString::fromLatin1(VantorLabelIds::ProgId));
    if (!label)
        return 1;
    label->setMessagePort([](const QString& text) { QTextStream(stderr) << text << '\n'; });
    label->resetToDefaults();
    label->resize(160, 40);

    QString file = QStringLiteral("label_example.png");
    const QRegularExpression sizePattern(QStringLiteral("^(\\d+)x(\\d+)$"));
    for (const QString& argument : app.arguments().mid(1)) {
        const auto sizeMatch = sizePattern.match(argument);
        const qsizetype equals = argument.indexOf(QLatin1Char('='));
        if (sizeMatch.hasMatch()) {
            label->resize(sizeMatch.captured(1).toInt(), sizeMatch.captured(2).toInt());
        } else if (equals < 0) {
            file = argument;
        } else if (argument.startsWith(QLatin1String("TextShadowOffset="))) {
            const QStringList parts = argument.mid(equals + 1).split(QLatin1Char(','));
            if (parts.size() != 4)
                return 2;
            label->SetTextShadowOffset(parts[0].toShort(), parts[1].toShort(), parts[2].toShort(),
                                       parts[3].toShort());
        } else if (!label->setProperty(argument.left(equals).toLatin1().constData(),
                                       argument.mid(equals + 1))) {
            QTextStream(stderr) << "cannot set " << argument << '\n';
            return 2;
        }
    }

    QImage image(label->size(), QImage::Format_ARGB32);
    QPainter painter(&image);
    label->paint(painter, image.rect());
    painter.end();
    QTextStream(stdout) << "Size " << label->GetSize() << '\n';
    return image.save(file) ? 0 : 1;
}
