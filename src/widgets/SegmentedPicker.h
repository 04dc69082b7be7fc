#pragma once

#include <QAbstractButton>
#include <QWidget>

class QButtonGroup;
class QHBoxLayout;
class QLabel;

/// A segmented control: joined segments of which exactly one is chosen, optionally led by
/// a title. The chosen segment is filled with the palette's selection colour and the others
/// with the button colour, so the choice stands out as plainly in a dark palette as in a
/// light one (a checked push button differs from the others by a shade only).
class SegmentedPicker final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SegmentedPicker)

public:
    /// Without a title the segments stand alone.
    explicit SegmentedPicker(const QString& title = {}, QWidget* parent = nullptr);

    /// Appends a segment; `id` is what the picker reports when it is chosen.
    QAbstractButton* addSegment(const QString& text, int id);
    /// The segment of `id`, or null.
    [[nodiscard]] QAbstractButton* segment(int id) const;
    [[nodiscard]] QList<QAbstractButton*> segments() const;
    /// The title in front of the segments, or null without one.
    [[nodiscard]] QLabel* titleLabel() const { return m_title; }

    /// Shows `id` as chosen without announcing it.
    void setCurrentId(int id);
    /// The chosen segment's id, -1 before any.
    [[nodiscard]] int currentId() const;

Q_SIGNALS:
    /// The user chose a segment (also the one already chosen).
    void segmentClicked(int id);

private:
    QLabel* m_title = nullptr;
    QHBoxLayout* m_row;
    QButtonGroup* m_group;
};

/// One segment of a SegmentedPicker; it paints itself, rounding only the picker's outer ends.
/// An icon, when given, stands before the title: its On form on the chosen segment.
class PickerSegment final : public QAbstractButton
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PickerSegment)

public:
    explicit PickerSegment(const QString& text, QWidget* parent = nullptr);

    void setEnds(bool first, bool last);
    [[nodiscard]] QSize sizeHint() const override;
    [[nodiscard]] QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    bool m_first = true;
    bool m_last = true;
    bool m_hovered = false;
};
