#pragma once
// Reads a planned page back as shapes, with the pen and font in effect.
#include <vector>

#include "display/drawing_plan.h"

struct PlannedLine {
    int x0, y0, x1, y1;
    Pen pen;
};
struct PlannedText {
    int x, y;
    std::string text;
    int escapement;  // -1 before any font was selected
    uint32_t colour = 0;
    bool coloured = false;  // drawn in colour on what is beneath
};
struct PlannedBox {
    int left, top, right, bottom;
    uint32_t colour;
};
struct PlannedPixel {
    int x, y;
};
struct PlannedPenChoice {
    Pen pen;
    int fatalErrorNumber;
};

struct PageTrace {
    std::vector<PlannedLine> lines;
    std::vector<PlannedText> texts;
    std::vector<PlannedPixel> pixels;
    std::vector<PlannedPenChoice> pens;
    std::vector<int> fonts;
    std::vector<PlannedBox> boxes;

    explicit PageTrace(const DrawingPlan& steps)
    {
        Pen pen = Pen::PrintBlack5;
        int escapement = -1;
        int x = 0, y = 0;
        for (const DrawingStep& step : steps) {
            switch (step.kind) {
            case DrawingStep::SelectPen:
                pen = step.pen;
                pens.push_back({step.pen, step.fatalErrorNumber});
                break;
            case DrawingStep::SelectFont:
                escapement = step.escapement;
                fonts.push_back(escapement);
                break;
            case DrawingStep::MoveTo:
                x = step.x;
                y = step.y;
                break;
            case DrawingStep::LineTo:
                lines.push_back({x, y, step.x, step.y, pen});
                x = step.x;
                y = step.y;
                break;
            case DrawingStep::BlackPixel:
                pixels.push_back({step.x, step.y});
                break;
            case DrawingStep::Text:
                texts.push_back({step.x, step.y, step.text, escapement});
                break;
            case DrawingStep::ColouredText:
                texts.push_back({step.x, step.y, step.text, escapement, step.colour, true});
                break;
            case DrawingStep::FillBox:
                boxes.push_back({step.x, step.y, step.right, step.bottom, step.colour});
                break;
            default:  // put back, brush and rectangle: not on a page
                break;
            }
        }
    }

    std::vector<PlannedLine> linesWith(Pen wanted) const
    {
        std::vector<PlannedLine> out;
        for (const PlannedLine& line : lines)
            if (line.pen == wanted) out.push_back(line);
        return out;
    }
};
