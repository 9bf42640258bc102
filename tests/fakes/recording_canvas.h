#pragma once

#include <string>
#include <vector>

#include "render/canvas.h"

namespace korvane::testing {

// A back buffer that keeps every call, so a test states exactly what a redraw draws, in which
// colours and in which order.
class RecordingCanvas : public Canvas {
public:
    enum class Op { Polygon, Rectangle, Text, Strip };
    struct Call {
        Op op;
        std::vector<Point> points; // polygon points, or the rectangle's two corners
        Brush brush;               // selected when the call was made
        Pen pen;
        std::string text;
        friend bool operator==(const Call&, const Call&) = default;
    };

    std::vector<Call> calls;
    Brush brush{};
    Pen pen = Pen::Null;

    Brush selectBrush(Brush b) override {
        Brush old = brush;
        brush = b;
        return old;
    }
    Pen selectPen(Pen p) override {
        Pen old = pen;
        pen = p;
        return old;
    }
    void polygon(const Point* points, int count) override {
        calls.push_back({Op::Polygon, std::vector<Point>(points, points + count), brush, pen, {}});
    }
    void rectangle(int left, int top, int right, int bottom) override {
        calls.push_back({Op::Rectangle, {{left, top}, {right, bottom}}, brush, pen, {}});
    }
    void drawTextRight(const char* text, int left, int top, int right, int bottom) override {
        calls.push_back({Op::Text, {{left, top}, {right, bottom}}, brush, pen, text});
    }
    void copyStatusStrip() override { calls.push_back({Op::Strip, {}, brush, pen, {}}); }

    std::vector<Call> polygons() const {
        std::vector<Call> out;
        for (const Call& c : calls)
            if (c.op == Op::Polygon)
                out.push_back(c);
        return out;
    }
    std::vector<std::string> texts() const {
        std::vector<std::string> out;
        for (const Call& c : calls)
            if (c.op == Op::Text)
                out.push_back(c.text);
        return out;
    }
    void clear() { calls.clear(); }
};

} // namespace korvane::testing
