#include "display/plan_replay.h"

#include "display/drawing_tools.h"
#include "records/event_log.h"

namespace {

COLORREF colourOf(uint32_t rgb) { return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

} // namespace

void replayPlan(HDC dc, const DrawingPlan& plan)
{
    HGDIOBJ ownPen = nullptr;
    HGDIOBJ keptPen = nullptr;
    bool kept = false;
    for (const DrawingStep& step : plan) {
        switch (step.kind) {
        case DrawingStep::SelectPen: {
            HGDIOBJ replaced = SelectObject(dc, drawingPen(step.pen));
            if (!replaced && step.eventNumber) logEvent(step.eventNumber);
            if (!replaced && step.fatalErrorNumber) fatalError(step.fatalErrorNumber);
            if (!ownPen) ownPen = replaced;
            if (step.keepsReplacedPen) {
                keptPen = replaced;
                kept = true;
            }
            break;
        }
        case DrawingStep::PutBackPen:
            if (kept) SelectObject(dc, keptPen);
            else if (ownPen) SelectObject(dc, ownPen);
            break;
        case DrawingStep::SelectChartBrush: SelectObject(dc, drawingTools.chartBrush); break;
        case DrawingStep::SelectFont: selectSystemFont(dc, step.escapement); break;
        case DrawingStep::Rectangle: Rectangle(dc, step.x, step.y, step.right, step.bottom); break;
        case DrawingStep::MoveTo: MoveToEx(dc, step.x, step.y, nullptr); break;
        case DrawingStep::LineTo: LineTo(dc, step.x, step.y); break;
        case DrawingStep::BlackPixel: SetPixel(dc, step.x, step.y, RGB(0, 0, 0)); break;
        case DrawingStep::FillBox: {
            RECT box = {step.x, step.y, step.right, step.bottom};
            HBRUSH brush = CreateSolidBrush(colourOf(step.colour));
            if (brush) {
                FillRect(dc, &box, brush);
                DeleteObject(brush);
            }
            break;
        }
        case DrawingStep::ColouredText: {
            int mode = SetBkMode(dc, TRANSPARENT);
            COLORREF before = SetTextColor(dc, colourOf(step.colour));
            TextOutA(dc, step.x, step.y, step.text.data(), static_cast<int>(step.text.size()));
            SetTextColor(dc, before);
            SetBkMode(dc, mode);
            break;
        }
        case DrawingStep::Text:
            TextOutA(dc, step.x, step.y, step.text.data(), static_cast<int>(step.text.size()));
            break;
        }
    }
}
