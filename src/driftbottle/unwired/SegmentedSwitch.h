#pragma once

#include <QWidget>

class QButtonGroup;

/// A row of exclusive segments, each an emoji and a title, as the tabbed bottle screens
/// use to choose their page.
/// Only the tabbed drift-bottle screens use it, and no menu opens them today.
class SegmentedSwitch final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SegmentedSwitch)

public:
    struct Segment
    {
        QString emoji;
        QString title;
    };

    explicit SegmentedSwitch(const QList<Segment>& segments, QWidget* parent = nullptr);

    [[nodiscard]] int currentIndex() const;
    void setCurrentIndex(int index);
    [[nodiscard]] int count() const;
    /// The text a segment shows, emoji first.
    [[nodiscard]] QString segmentText(int index) const;

Q_SIGNALS:
    /// When another segment is chosen, by the user or through setCurrentIndex().
    void currentIndexChanged(int index);

private:
    QButtonGroup* m_group;
    int m_lastIndex = 0;
};
