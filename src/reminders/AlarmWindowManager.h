#pragma once

#include "reminders/Alarm.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QRectF>

class FloatingWindow;
class Screens;

/// Opens a card for each ringing alarm near the top-right corner of the main screen's work
/// area, the first 20 points in from the right and the top, each further one 130 points
/// lower (a card's height and 10 more, at a larger font). A card stays until its close
/// button is pressed; it then fades out. At most one card per alarm: a re-ring replaces it.
class AlarmWindowManager final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AlarmWindowManager)

public:
    static constexpr int fadeOutMs = 300;
    static constexpr double margin = 20.0;
    static constexpr double step = 130.0;

    explicit AlarmWindowManager(Screens& screens, QObject* parent = nullptr);
    ~AlarmWindowManager() override;

    void showAlarm(const Alarm& alarm);
    /// Fades out and closes the card of that alarm, if one is open.
    void closeAlarm(const QString& alarmId);
    void closeAllAlarms();

    [[nodiscard]] qsizetype openCount() const { return m_alarmWindows.size(); }
    [[nodiscard]] FloatingWindow* alarmWindow(const QString& alarmId) const { return m_alarmWindows.value(alarmId); }

    /// Where the card opened while `openCards` others are open sits, in the bottom-left model.
    [[nodiscard]] static QRectF cardFrame(const QRectF& visibleFrame, qsizetype openCards);

private:
    Screens& m_screens;
    QHash<QString, FloatingWindow*> m_alarmWindows;
    /// Cards still fading out; freed with the manager if it goes first.
    QList<QPointer<FloatingWindow>> m_closing;
};
