// SurfaceCompositeGL: a rectangular surface that holds children, draws them
// from its own local render list and keeps a border and an overflow margin.
#pragma once

#include "VisComponentGL.h"

// Children keep their own device positions; moving the surface moves them
// along. The surface's buffer grid covers its rectangle plus the overflow
// margin on every side (VisComponent's buffer cells), so cell
// (overflow, overflow) in pixel scale is the rectangle's bottom-left corner.
//
// Drawing order: the surface (specificRender, renderBorder), then its
// children from the local render list, back to front, then
// specificRenderAdditional and renderDecoration on top.
class SurfaceCompositeGL : public VisComponentGL
{
public:
    // border and overflow in pixels; textureId (0: none) is drawn over the
    // rectangle by the default specificRender. Surfaces neither move nor
    // toss by touch and keep their place in the render order.
    SurfaceCompositeGL(TabletopVis* scene, double x, double y, double width, double height, double angle,
                       double border, double overflow, unsigned textureId = 0);

    void moveBy(double dx, double dy) override;
    // See VisComponent::adoptChild / releaseChild; children go to the local list.
    int addChild(VisComponent* child) override;
    int removeChild(VisComponent* child) override;
    VisComponent* getComposite() override;
    void render() override;
    bool hasStaticRenderOrder() const override;
    bool compositeManagesLocalRenderList() const override;
    void specificRender() override;

    // ---- Own virtual operations ----
    virtual double getOverflowSize() const;
    virtual double getBorderSize() const;
    // Decoration after the surface: a frame of the border width in the
    // scene's border colour, inside the rectangle.
    virtual void renderBorder();
    // Drawn over the children, in the surface's frame; nothing here.
    virtual void specificRenderAdditional();
    virtual void renderDecoration();

    unsigned getTextureID() const { return _textureId; }
    void setTextureID(unsigned id) { _textureId = id; }
    // The scene's tossing slowdown factor (TabletopVis::getTossingSlowdownFactor).
    double getTossingSlowdownFactor() const;

private:
    double _border;
    unsigned _textureId;
};
