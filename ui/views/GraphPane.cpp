#include "ui/views/GraphPane.h"

#include "platform/Prompter.h"
#include "texts/UiText.h"

#include <VantorGraph/VantorGraphCtrl.h>

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QVBoxLayout>

namespace vantor {

GraphPane::GraphPane(Prompter& prompter, QWidget* parent) : QWidget(parent) {
    graph_ = new CVantorGraphCtrl(this);
    graph_->resetToDefaults();
    // The bearing cursor's name in the cursor menu and the read-out, in the chosen language.
    graph_->SetBearingTranslation(UiText(text::added::Bearing));
    graph_->setMessagePort([&prompter](const QString& text) { prompter.ShowMessage(text); });
    graph_->setMinimumSize(320, 200);
    readout_ = new QLabel(this);
    readout_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // Many harmonic or fault lines take more than one line of text.
    readout_->setWordWrap(true);
    readout_->setMinimumHeight(readout_->fontMetrics().height() + 4);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(graph_, 1);
    layout->addWidget(readout_);
    connect(graph_, &CVantorGraphCtrl::RightButtonClicked, this,
            [this](short, short x, short y) { emit MenuRequested(graph_->mapToGlobal(QPoint(x, y))); });
}

void GraphPane::SetMenu(std::function<void(QMenu&)> fill) {
    connect(this, &GraphPane::MenuRequested, this, [this, fill = std::move(fill)](const QPoint& at) {
        QMenu menu(this);
        fill(menu);
        menu.exec(at);
    });
}

void GraphPane::LayOut() {
    const QSize size =
        graph_->size().isEmpty() ? graph_->sizeHint().expandedTo(graph_->minimumSize()) : graph_->size();
    QImage image(size, QImage::Format_ARGB32);
    QPainter painter(&image);
    graph_->paint(painter, image.rect());
}

QString GraphPane::SeriesText() const {
    QString text;
    for (int series = 0; series < graph_->GetSeriesCount(); ++series) {
        if (series > 0) {
            text += QStringLiteral("\r\n");
        }
        const int count = graph_->seriesPointCount(series);
        for (int point = 0; point < count; ++point) {
            const QVariantMap values = graph_->seriesPoint(series, point);
            text += QStringLiteral("%1\t%2\r\n")
                        .arg(values.value(QStringLiteral("x")).toDouble(), 0, 'g', 9)
                        .arg(values.value(QStringLiteral("y")).toDouble(), 0, 'g', 9);
        }
    }
    return text;
}

void GraphPane::CopyToClipboard() const {
    auto mime = std::make_unique<QMimeData>();
    mime->setImageData(graph_->grab().toImage());
    mime->setText(SeriesText());
    QApplication::clipboard()->setMimeData(mime.release()); // the clipboard takes ownership
}

} // namespace vantor
