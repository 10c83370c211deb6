#include "display/plan_replay.h"

#include "display/drawing_tools.h"
#include "records/event_log.h"

namespace {

COLORREF colourOf(uint32_t rgb) { return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

} // namespace

ContextColours useSchemeTextColours(HDC dc, ColourScheme scheme)
{
    if (scheme == ColourScheme::Day) return {CLR_INVALID, CLR_INVALID};
    return {SetTextColor(dc, colourOf(nightText)), SetBkColor(dc, colourOf(nightGround))};
}

void restoreTextColours(HDC dc, const ContextColours& colours)
{
    if (colours.text != CLR_INVALID) SetTextColor(dc, colours.text);
    if (colours.background != CLR_INVALID) SetBkColor(dc, colours.background);
}

void replayPlan(HDC dc, const DrawingPlan& plan, ColourScheme scheme)
{
    const bool night = scheme == ColourScheme::Night;
    const ContextColours contextColours = useSchemeTextColours(dc, scheme);
    HGDIOBJ ownPen = nullptr;
    HGDIOBJ keptPen = nullptr;
    bool kept = false;
    uint32_t lastFill = 0xFFFFFF;  // what a coloured text stands on, as the plan has it
    for (const DrawingStep& step : plan) {
        switch (step.kind) {
        case DrawingStep::SelectPen: {
            HGDIOBJ replaced = SelectObject(dc, night ? nightPen(step.pen) : drawingPen(step.pen));
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
        case DrawingStep::SelectChartBrush:
            SelectObject(dc, night ? GetStockObject(BLACK_BRUSH) : drawingTools.chartBrush);
            break;
        case DrawingStep::SelectFont: selectSystemFont(dc, step.escapement); break;
        case DrawingStep::Rectangle: Rectangle(dc, step.x, step.y, step.right, step.bottom); break;
        case DrawingStep::MoveTo: MoveToEx(dc, step.x, step.y, nullptr); break;
        case DrawingStep::LineTo: LineTo(dc, step.x, step.y); break;
        case DrawingStep::BlackPixel: SetPixel(dc, step.x, step.y, night ? colourOf(nightPixel) : RGB(0, 0, 0)); break;
        case DrawingStep::FillBox: {
            RECT box = {step.x, step.y, step.right, step.bottom};
            lastFill = step.colour;
            HBRUSH brush = CreateSolidBrush(colourOf(schemeFill(scheme, step.colour)));
            if (brush) {
                FillRect(dc, &box, brush);
                DeleteObject(brush);
            }
            break;
        }
        case DrawingStep::ColouredText: {
            int mode = SetBkMode(dc, TRANSPARENT);
            COLORREF before = SetTextColor(dc, colourOf(schemeTextColour(scheme, step.colour, lastFill)));
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
    restoreTextColours(dc, contextColours);
}
