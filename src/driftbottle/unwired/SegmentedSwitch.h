#pragma once

#include "widgets/Symbols.h"

#include <QWidget>

class SegmentedPicker;

/// A row of exclusive segments, each a symbol and a title, as the tabbed bottle screens
/// use to choose their page, in the kit's segmented look. The symbol takes the colour of the
/// segment's title.
/// Only the tabbed drift-bottle screens use it, and no menu opens them today.
class SegmentedSwitch final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SegmentedSwitch)

public:
    struct Segment
    {
        Symbols::Symbol symbol;
        QString title;
    };

    explicit SegmentedSwitch(const QList<Segment>& segments, QWidget* parent = nullptr);

    [[nodiscard]] int currentIndex() const;
    void setCurrentIndex(int index);
    [[nodiscard]] int count() const;
    /// The title a segment shows beside its symbol.
    [[nodiscard]] QString segmentText(int index) const;
    [[nodiscard]] Symbols::Symbol segmentSymbol(int index) const;

Q_SIGNALS:
    /// When another segment is chosen, by the user or through setCurrentIndex().
    void currentIndexChanged(int index);

protected:
    void changeEvent(QEvent* event) override;

private:
    void paintSymbols();

    QList<Segment> m_segments;
    SegmentedPicker* m_picker;
    int m_lastIndex = 0;
};
