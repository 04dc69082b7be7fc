#include "pet/PetWindowHost.h"

#include "platform/FloatingWindow.h"

#include <QApplication>

void PetWindowHost::bringPetToFront(FloatingWindow& pet)
{
    pet.raise();
    if (QWidget* modal = QApplication::activeModalWidget())
        modal->raise();
}
