// A graph control created by its ProgID and reset like a newly inserted one, with its messages
// recorded.
#pragma once

#include <VantorGraph/VantorGraphCtrl.h>
#include <VantorGraph/VantorGraphFactory.h>

#include <QStringList>

#include <gtest/gtest.h>

#include <memory>

class GraphFixture : public ::testing::Test {
protected:
    void SetUp() override {
        graph = createVantorGraphControl(QString::fromLatin1(VantorGraphIds::ProgId));
        ASSERT_TRUE(graph);
        graph->setMessagePort([this](const QString& text) { messages.append(text); });
        graph->resetToDefaults();
        graph->resize(400, 300);
        graph->setModified(false);
        repaintBaseline = graph->repaintRequestCount();
    }

    int repaints() {
        const int count = graph->repaintRequestCount() - repaintBaseline;
        repaintBaseline = graph->repaintRequestCount();
        return count;
    }

    std::unique_ptr<CVantorGraphCtrl> graph;
    QStringList messages;
    int repaintBaseline = 0;
};
