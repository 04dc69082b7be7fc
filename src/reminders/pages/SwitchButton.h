#pragma once

#include <QAbstractButton>

/// An on/off switch drawn like the list rows' switches. Its text is not drawn (the form
/// labels it) but names it for accessibility.
class SwitchButton final : public QAbstractButton
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SwitchButton)

public:
    explicit SwitchButton(const QString& name, QWidget* parent = nullptr);

    [[nodiscard]] QSize sizeHint() const override { return { 38, 22 }; }

protected:
    void paintEvent(QPaintEvent* event) override;
};
