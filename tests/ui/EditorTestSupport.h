#pragma once

// What the editor tests share: a small configuration read into an abstract tree, and
// finding a dialog's controls by their text.

#include "csf/CSFAbstractTree.h"
#include "csf/CSFSection.h"

#include <QAbstractButton>
#include <QTest>
#include <QWidget>

#include <memory>
#include <string>

namespace dwuitest {

// Device "TV" with panels "Main" (buttons Play, Stop, and two named Menu) and "Guide",
// two panels named "Extra", and the hard buttons Left and Mute; device "Amp" with panel
// "Vol" (button Up).
struct CTestConfiguration
{
    std::unique_ptr<CCSFSection> root;
    CCSFAbstractTree tree;

    CTestConfiguration()
    {
        static const char text[] =
            "CCF()\n{\nDevice(\"TV\")\n{\nLeft(\"Prev\")\n{\n}\nMute()\n{\n}\n"
            "Panel(\"Main\")\n{\nButton(\"Play\",0,0,10,10,3)\n"
            "Button(\"Stop\",0,0,10,10,4)\nButton(\"Menu\",0,0,10,10,5)\n"
            "Button(\"Menu\",0,0,10,10,6)\n}\nPanel(\"Guide\")\n{\n}\n"
            "Panel(\"Extra\")\n{\n}\nPanel(\"Extra\")\n{\n}\n}\n"
            "Device(\"Amp\")\n{\nPanel(\"Vol\")\n{\nButton(\"Up\",0,0,1,1,7)\n}\n}\n}\n";
        CErrorRecord errors;
        root = ParseCsfText(text, sizeof text - 1, &errors);
        QVERIFY(root);
        QVERIFY(tree.Build(&errors, root.get()));
    }
};

// The first button of w (at any depth) showing text exactly; null when none.
template <class TButton = QAbstractButton> TButton* FindButton(const QWidget* w, const QString& text)
{
    for (TButton* b : w->findChildren<TButton*>())
        if (b->text() == text)
            return b;
    return nullptr;
}

} // namespace dwuitest
