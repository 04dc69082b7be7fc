#pragma once

#include "SweptScreens.h"

#include <QObject>
#include <QString>

#include <gtest/gtest.h>

#include <memory>

/// A rig of the feature tests set up outside gtest's own runner.
template<typename Rig>
class Hosted : public Rig
{
public:
    Hosted() { Rig::SetUp(); }
    void TestBody() override { }
};

/// The child of `root` named `name`; a test failure when there is none.
template<typename T>
T* named(const QObject* root, const QString& name)
{
    T* found = root ? root->findChild<T*>(name) : nullptr;
    EXPECT_NE(found, nullptr) << name.toStdString();
    return found;
}

/// The drift-bottle window in its states, its sheets and cards, and the sign-in form.
enum class Drift {
    signedOut,
    empty,
    list,
    chat,
    sending,
    failed,
    throwSheet,
    pickCard,
    cards,
    tabbedPick,
    cardList,
    detail,
    replySheet,
    sensitiveWord,
    signInAddress,
    signInPassword,
    signInRegistration,
};
[[nodiscard]] std::unique_ptr<BuiltScreen> driftScreen(Drift which);

/// The friends' windows, bubbles, list and sheet.
enum class Friends { codeGenerated, codeAdd, received, compose, list, listOffline, sendSheet };
[[nodiscard]] std::unique_ptr<BuiltScreen> friendsScreen(Friends which);

/// The pet's right-click menu with its friends' section, and its two submenus.
enum class PetMenu { signedInWithPinnedFriend, interactions, friends, noFriends, signedOut };
[[nodiscard]] std::unique_ptr<BuiltScreen> petMenuScreen(PetMenu which);
