#pragma once
#include <QImage>
#include <QPainter>

#include <optional>

#include "draw/gdi_dc.h"

// The drawing vocabulary over Qt's raster painter: on an image of ours, or through a
// painter that Qt hands out (the window's, during a repaint).
class QtDC : public CDC {
public:
    QtDC(Image32& target, POINT origin);
    // On a QImage of 32 bits a pixel, in the coordinates of a picture whose part at
    // `origin` the image is.
    explicit QtDC(QImage& target, POINT origin = {});
    explicit QtDC(QPainter& painter);

protected:
    void OnFill(const RECT& rc, COLORREF clr) override;
    void OnBlend(const RECT& rc, std::uint32_t argb) override;
    void OnRegion(const CRgn& rgn, COLORREF clr, int nFrameWidth, int nFrameHeight) override;
    void OnTextLine(const std::u16string& line, const RECT& cell, const RECT* pClip) override;
    void OnPicture(const CImage& picture, const RECT& dest) override;
    void OnTransparentBlt(const Image32& picture, POINT at, COLORREF clrKey) override;
    void OnClip(const std::vector<RECT>* pRects) override;

private:
    std::optional<QImage> m_image;
    std::optional<QPainter> m_ownPainter;
    QPainter& m_painter;
};

// The image's pixels as a QImage, shared, not copied: valid while the image is unchanged.
QImage SharedQImage(const Image32& image);
