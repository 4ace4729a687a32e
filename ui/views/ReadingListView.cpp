#include "ui/views/ReadingListView.h"

#include "analysis/AlarmStatus.h"
#include "analysis/MeasureFormat.h"
#include "analysis/ViewData.h"
#include "texts/DisplayFormat.h"
#include "ui/common/PointViewTexts.h"
#include "ui/views/PointViewsState.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLocale>
#include <QMenu>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace vantor {
namespace {

constexpr int kDateColumn = 0;
constexpr int kStatusColumn = 1;
constexpr int kFirstMeasureColumn = 2;
constexpr int kGuidRole = Qt::UserRole;

QColor ColourOf(StatusCode code) {
    const Rgb rgb = StatusColour(code);
    return QColor(rgb.red, rgb.green, rgb.blue);
}

} // namespace

ReadingListView::ReadingListView(PointViewsState& state, QWidget* parent) : QWidget(parent), state_(state) {
    list_ = new QTreeWidget(this);
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setAlternatingRowColors(true);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setContextMenuPolicy(Qt::CustomContextMenu);
    list_->installEventFilter(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(list_);
    SetHeaders();
    connect(list_, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item, int) {
        emit ReadingActivated(item->data(kDateColumn, kGuidRole).toString());
    });
    connect(list_, &QTreeWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QTreeWidgetItem* item = list_->itemAt(at);
        if (!item) {
            return;
        }
        QMenu menu(this);
        FillMenu(menu, item->data(kDateColumn, kGuidRole).toString());
        menu.exec(list_->viewport()->mapToGlobal(at));
    });
}

void ReadingListView::SetHeaders() {
    QStringList headers{UiText(text::views::DateTime), UiText(text::views::Status)};
    const MeasureFormat format = state_.Format();
    for (MeasureKind kind : kAllMeasureKinds) {
        const QString unit = MeasureUnitLabel(kind, format.units);
        headers << QStringLiteral("%1 (%2)").arg(MeasureCaption(state_.app.settings, kind), unit);
    }
    list_->setHeaderLabels(headers);
}

void ReadingListView::RefreshTexts() {
    Redraw();
}

void ReadingListView::Redraw() {
    SetHeaders();
    list_->clear();
    if (!state_.point) {
        return;
    }
    const MeasureFormat format = state_.Format();
    QList<QTreeWidgetItem*> rows;
    for (auto reading = state_.readings.rbegin(); reading != state_.readings.rend(); ++reading) {
        auto* item = new QTreeWidgetItem;
        item->setData(kDateColumn, kGuidRole, reading->sItemGUID);
        item->setText(kDateColumn, DisplayDateTime(reading->ctDateTaken));
        const DatedStatus status = PointStatus(*state_.point, &*reading);
        item->setText(kStatusColumn, StatusText(status.code));
        item->setForeground(kStatusColumn, ColourOf(status.code));
        int column = kFirstMeasureColumn;
        for (MeasureKind kind : kAllMeasureKinds) {
            const StatusCell cell = MakeStatusCell(*state_.point, &*reading, kind, true, format);
            item->setText(column, cell.text);
            item->setForeground(column, ColourOf(cell.code));
            item->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
            ++column;
        }
        if (reading->sItemGUID == state_.readingGuid) {
            QFont bold = item->font(kDateColumn);
            bold.setBold(true);
            for (int i = 0; i < list_->columnCount(); ++i) {
                item->setFont(i, bold);
            }
        }
        rows << item;
    }
    list_->addTopLevelItems(rows);
    for (int i = 0; i < list_->columnCount(); ++i) {
        list_->resizeColumnToContents(i);
    }
}

QString ReadingListView::ReadingAt(int row) const {
    const QTreeWidgetItem* item = list_->topLevelItem(row);
    return item ? item->data(kDateColumn, kGuidRole).toString() : QString();
}

void ReadingListView::FillMenu(QMenu& menu, const QString& readingGuid) {
    menu.addAction(UiText(text::views::SingleFft), this,
                   [this, readingGuid] { emit ReadingActivated(readingGuid); });
    menu.addSeparator();
    menu.addAction(UiText(text::views::Delete), this,
                   [this, readingGuid] { emit DeleteRequested(readingGuid); });
}

bool ReadingListView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == list_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete && list_->currentItem()) {
        emit DeleteRequested(list_->currentItem()->data(kDateColumn, kGuidRole).toString());
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace vantor
