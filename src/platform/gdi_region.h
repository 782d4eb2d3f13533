#pragma once
#include <QPainterPath>

// A rounded-rectangle region: the rectangle (left, top, right, bottom) with corner
// ellipses nWidth by nHeight pixels. Regions are filled without antialiasing, like the
// hard-edged regions the screens were designed with.
class CRgn {
public:
    void CreateRoundRectRgn(int left, int top, int right, int bottom, int nWidth, int nHeight);

    const QPainterPath& Path() const { return m_path; }
    // The region less a band of nWidth by nHeight pixels along its inside edge.
    QPainterPath Shrunk(int nWidth, int nHeight) const;

private:
    QPainterPath m_path;
    int m_nLeft = 0;
    int m_nTop = 0;
    int m_nRight = 0;
    int m_nBottom = 0;
    int m_nCornerWidth = 0;
    int m_nCornerHeight = 0;
};
