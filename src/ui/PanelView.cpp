#include "ui/PanelView.h"

#include "ccfdll/CcfPalette.h"
#include "csf/CSFSection.h"

#include <QMouseEvent>
#include <QPainter>

CPanelView::CPanelView(QWidget* parent, int scale) : QWidget(parent), m_nScale(scale < 1 ? 1 : scale)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setAttribute(Qt::WA_OpaquePaintEvent);
    Redraw();
}

QSize CPanelView::sizeHint() const
{
    return QSize(kPanelWidth * m_nScale, kPanelHeight * m_nScale);
}

QSize CPanelView::minimumSizeHint() const
{
    return sizeHint();
}

QRect CPanelView::PanelRect() const
{
    const QSize size = sizeHint();
    return QRect(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size);
}

void CPanelView::SetPanel(const CCSFSection* panel, const std::string& bitmapBase)
{
    m_pPanel = panel;
    m_bitmapBase = bitmapBase;
    m_pHeld = m_pPressed = nullptr;
    Redraw();
}

void CPanelView::Redraw()
{
    // A colour remote's panels hold colour words and palette pictures.
    const CCSFSection* root = m_pPanel;
    while (root && root->GetParent())
        root = root->GetParent();
    const bool colour = IsColourConfiguration(root);
    const CPreviewImage picture = RenderPanel(m_pPanel, m_bitmapBase, m_pPressed, &m_areas, colour);
    if (picture.IsColour()) {
        QImage image(picture.GetWidth(), picture.GetHeight(), QImage::Format_RGB32);
        for (int y = 0; y < picture.GetHeight(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < picture.GetWidth(); ++x) {
                const CCcfRgb& c = kCcfPalette[picture.Get(x, y)];
                line[x] = qRgb(c.r, c.g, c.b);
            }
        }
        m_image = std::move(image);
    } else {
        QImage image(picture.GetWidth(), picture.GetHeight(), QImage::Format_Grayscale8);
        for (int y = 0; y < picture.GetHeight(); ++y) {
            uchar* line = image.scanLine(y);
            for (int x = 0; x < picture.GetWidth(); ++x)
                line[x] = GreyOfLevel(picture.Get(x, y));
        }
        m_image = std::move(image);
    }
    update();
}

const CCSFSection* CPanelView::ButtonAt(const QPoint& position) const
{
    const QRect panel = PanelRect();
    if (!panel.contains(position))
        return nullptr;
    const QPoint p = position - panel.topLeft();
    return FindButtonAt(m_areas, p.x() / m_nScale, p.y() / m_nScale);
}

QPoint CPanelView::CentreOf(const CCSFSection* button) const
{
    for (auto it = m_areas.rbegin(); it != m_areas.rend(); ++it) {
        if (it->button != button)
            continue;
        const SPreviewRect& r = it->rect;
        const QPoint centre(((r.left + r.right) * m_nScale) / 2, ((r.top + r.bottom) * m_nScale) / 2);
        return PanelRect().topLeft() + centre;
    }
    return QPoint(-1, -1);
}

void CPanelView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    // Nearest-neighbour magnification: the remote's pixels stay square.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(PanelRect(), m_image);
}

void CPanelView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    m_pHeld = ButtonAt(event->position().toPoint());
    if (m_pHeld != m_pPressed) {
        m_pPressed = m_pHeld;
        Redraw();
    }
}

void CPanelView::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_pHeld)
        return;
    // Sliding off the button releases its look, sliding back shows it again.
    const CCSFSection* pressed = ButtonAt(event->position().toPoint()) == m_pHeld ? m_pHeld : nullptr;
    if (pressed != m_pPressed) {
        m_pPressed = pressed;
        Redraw();
    }
}

void CPanelView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    const CCSFSection* held = m_pHeld;
    const bool over = held && ButtonAt(event->position().toPoint()) == held;
    m_pHeld = nullptr;
    if (m_pPressed) {
        m_pPressed = nullptr;
        Redraw();
    }
    // Last: the receiver may show another panel.
    if (over)
        emit ButtonClicked(held);
}
