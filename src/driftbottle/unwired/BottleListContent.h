#pragma once

#include "server/DriftBottleModels.h"

#include <QStackedWidget>

#include <QCoroTask>

class BottleRowView;
class BottleListModel;
class DriftBottleManager;
class PlainLabel;
class SymbolView;
class QListView;

enum class BottleListKind { sent, received };

/// The body of a bottle list: a spinner while loading, else the bottles as cards, or a
/// message when there are none. The status badge shows on the sent list only.
/// Only the tabbed drift-bottle screens use it, and no menu opens them today.
class BottleListContent final : public QStackedWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(BottleListContent)

public:
    enum class Page { loading, empty, list };

    /// The empty state's symbol is this tall.
    static constexpr int emptySymbolPixels = 60;

    explicit BottleListContent(BottleListKind kind, QWidget* parent = nullptr);

    void setKind(BottleListKind kind);
    [[nodiscard]] BottleListKind kind() const { return m_kind; }
    void setLoading(bool loading);
    [[nodiscard]] bool isLoading() const { return m_loading; }
    void setBottles(const QList<DriftBottle>& bottles);
    /// Fetches the sent or received list, as `list` says, through `bottles`, showing the
    /// spinner meanwhile. A failure is logged and leaves the shown bottles as they were.
    void load(DriftBottleManager& bottles, BottleListKind list);

    [[nodiscard]] Page page() const;
    [[nodiscard]] QListView* listView() const { return m_list; }
    [[nodiscard]] BottleListModel* model() const { return m_model; }

Q_SIGNALS:
    void bottleClicked(const DriftBottle& bottle);

private:
    /// Lays out the page shown when the list is empty: a symbol, a title and a hint.
    void emptyStateView();
    void updatePage();
    QCoro::Task<> fetch(DriftBottleManager& bottles, BottleListKind list);

    BottleListKind m_kind;
    bool m_loading = false;
    BottleListModel* m_model;
    BottleRowView* m_sentDelegate;
    BottleRowView* m_receivedDelegate;
    QWidget* m_loadingPage;
    QWidget* m_emptyPage;
    SymbolView* m_emptySymbol;
    PlainLabel* m_emptyTitle;
    PlainLabel* m_emptyHint;
    QListView* m_list;
};
