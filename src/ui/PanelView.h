#pragma once

// One panel of a configuration drawn as the remote shows it, by the preview renderer,
// magnified (2× by default) without smoothing so every remote pixel stays a sharp
// square. A button under the mouse takes its pressed look while the button is held;
// releasing over the same button reports it, as a touch on the remote would.

#include "csf/CSFSection.h" // complete for the signal's argument type
#include "preview/PanelRenderer.h"

#include <QImage>
#include <QWidget>

#include <string>
#include <vector>

class CPanelView : public QWidget
{
    Q_OBJECT

public:
    explicit CPanelView(QWidget* parent = nullptr, int scale = 2);

    // The panel statement to show (not owned; null shows an empty panel) and the
    // directory its pictures are relative to.
    void SetPanel(const CCSFSection* panel, const std::string& bitmapBase);
    const CCSFSection* GetPanel() const { return m_pPanel; }
    int GetScale() const { return m_nScale; }

    // The button whose area holds the widget position; null for none.
    const CCSFSection* ButtonAt(const QPoint& position) const;
    // The centre of a button's visible area in widget coordinates (for tests and
    // keyboard users); (-1, -1) when the button does not show.
    QPoint CentreOf(const CCSFSection* button) const;
    const CCSFSection* GetPressedButton() const { return m_pPressed; }

    // The picture as drawn last, at remote size (one pixel a remote pixel).
    const QImage& GetImage() const { return m_image; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void ButtonClicked(const CCSFSection* button);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void Redraw();
    QRect PanelRect() const;

    int m_nScale;
    const CCSFSection* m_pPanel = nullptr;
    std::string m_bitmapBase;
    std::vector<SPanelButtonArea> m_areas;
    const CCSFSection* m_pHeld = nullptr;    // the button the mouse went down on
    const CCSFSection* m_pPressed = nullptr; // drawn pressed: held and under the mouse
    QImage m_image;
};
