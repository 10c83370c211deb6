#include "app/chart_copy.h"

#include "display/plan_replay.h"
#include "display/pressure_chart.h"

namespace {

// The window paints the chart over its white background; a copy carries the background itself.
DrawingPlan copyPlan(int width, int height)
{
    DrawingPlan plan;
    DrawingStep ground = pointStep(DrawingStep::FillBox, 0, 0);
    ground.right = width;
    ground.bottom = height;
    ground.colour = 0xFFFFFF;
    plan.push_back(ground);
    DrawingPlan chart = shownChartSteps(width, height);
    plan.insert(plan.end(), chart.begin(), chart.end());
    return plan;
}

HENHMETAFILE chartMetafile(HDC screen, int width, int height, const DrawingPlan& plan)
{
    // The frame in hundredths of a millimetre, so that a pasted chart has the size it has on the screen.
    const int pixelsWide = GetDeviceCaps(screen, HORZRES), pixelsHigh = GetDeviceCaps(screen, VERTRES);
    RECT frame = {0, 0, 0, 0};
    if (pixelsWide > 0 && pixelsHigh > 0) {
        frame.right = MulDiv(width, GetDeviceCaps(screen, HORZSIZE) * 100, pixelsWide);
        frame.bottom = MulDiv(height, GetDeviceCaps(screen, VERTSIZE) * 100, pixelsHigh);
    }
    HDC dc = CreateEnhMetaFileA(screen, nullptr, frame.right > 0 ? &frame : nullptr, nullptr);
    if (!dc) return nullptr;
    replayPlan(dc, plan);
    return CloseEnhMetaFile(dc);
}

HBITMAP chartBitmap(HDC screen, int width, int height, const DrawingPlan& plan)
{
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = dc ? CreateCompatibleBitmap(screen, width, height) : nullptr;
    if (bitmap) {
        HGDIOBJ before = SelectObject(dc, bitmap);
        replayPlan(dc, plan);
        // The clipboard takes only a bitmap that no context holds.
        SelectObject(dc, before);
    }
    if (dc) DeleteDC(dc);
    return bitmap;
}

} // namespace

bool copyChartToClipboard(HWND window)
{
    RECT client = {};
    GetClientRect(window, &client);
    if (client.right <= 0 || client.bottom <= 0) return false;
    const DrawingPlan plan = copyPlan(client.right, client.bottom);
    HDC screen = GetDC(window);
    HENHMETAFILE metafile = chartMetafile(screen, client.right, client.bottom, plan);
    HBITMAP bitmap = chartBitmap(screen, client.right, client.bottom, plan);
    ReleaseDC(window, screen);

    bool placed = false;
    if (OpenClipboard(window)) {
        // Only the owner of an emptied clipboard may put data on it; a handle
        // the clipboard took is the clipboard's from then on.
        if (EmptyClipboard()) {
            if (metafile && SetClipboardData(CF_ENHMETAFILE, metafile)) {
                metafile = nullptr;
                placed = true;
            }
            if (bitmap && SetClipboardData(CF_BITMAP, bitmap)) {
                bitmap = nullptr;
                placed = true;
            }
        }
        CloseClipboard();
    }
    if (metafile) DeleteEnhMetaFile(metafile);
    if (bitmap) DeleteObject(bitmap);
    return placed;
}
