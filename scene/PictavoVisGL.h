// The scene of this system: the engine's scene plus renderer set-up, the
// posture ranges, the input combination and the colour look-up table.
#pragma once

#include "AmountDisplay.h"
#include "Color.h"
#include "PostureDetector.h"
#include "TabletopVisGL.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <memory>
#include <string>
#include <vector>

class CanvasCompositeGL;
class GeoStrokeBuildCanvasCompositeGL;
class ContextMenuGL;
class CornerMenuGL;
class GeoStrokeLeafGL;
class PaletteLeafGL;
class ReferenceImageLeafGL;
class PointLeafGL;
class StrokeLeafGL;
class StrokeMenuGL;
class TileLeafGL;
class ToolBrushLeafGL;

class PictavoVisGL : public TabletopVisGL, public AmountDisplay
{
public:
    // Arguments as for TabletopVisGL: input users, global buffer size, screen size.
    PictavoVisGL(unsigned users, unsigned bufferWidth, unsigned bufferHeight, unsigned screenWidth,
                 unsigned screenHeight);
    ~PictavoVisGL() override;

    // The engine's texture parameters, then colours modulate the texture.
    void determineTextureParameters() override;
    // The engine's renderer state, the multitexturing check, light 0 and the
    // colour look-up table (built here also for headless scenes).
    void initializeRenderer() override;

    // Contact-area bounds of each posture, in the units of the contact sizes
    // handed to hitLocalBuffer (each pair: min, max).
    virtual void setPenRange(double min, double max);
    virtual void setOneFingerRange(double min, double max);
    virtual void setTwoFingersRange(double min, double max);
    virtual void setFistRange(double min, double max);
    virtual void setHandRange(double min, double max);
    virtual double getPenMin() const { return _postureRanges.penMin; }
    virtual double getPenMax() const { return _postureRanges.penMax; }
    virtual double getOneFingerMin() const { return _postureRanges.oneFingerMin; }
    virtual double getOneFingerMax() const { return _postureRanges.oneFingerMax; }
    virtual double getTwoFingersMin() const { return _postureRanges.twoFingersMin; }
    virtual double getTwoFingersMax() const { return _postureRanges.twoFingersMax; }
    virtual double getFistMin() const { return _postureRanges.fistMin; }
    virtual double getFistMax() const { return _postureRanges.fistMax; }
    virtual double getHandMin() const { return _postureRanges.handMin; }
    virtual double getHandMax() const { return _postureRanges.handMax; }
    // Whether the corner menu shows an amount, and the amount it shows.
    void setAmountShown(bool shown) override { _amountShown = shown; }
    bool isAmountShown() const override { return _amountShown; }
    int getAmount() const override { return _amount; }
    void setAmount(int amount) override { _amount = amount; }

    // The ten bounds as a posture detector takes them.
    const PostureRanges& getPostureRanges() const { return _postureRanges; }

    // Which input devices drive the canvas and how: 7 (touch with postures)
    // at start, 0, 5 or 6 by the main window's commands.
    int getInputCombination() const { return _inputCombination; }
    void setInputCombination(int combination) { _inputCombination = combination; }

    // ---- Lookups: the first component of the class, or null ----
    CanvasCompositeGL* findCanvas() const;
    ToolBrushLeafGL* findToolBrush() const;
    PaletteLeafGL* findPalette() const;
    ReferenceImageLeafGL* findReferenceImage() const;
    GeoStrokeBuildCanvasCompositeGL* findBuildCanvas() const;
    StrokeMenuGL* findStrokeMenu() const;
    ContextMenuGL* findContextMenu() const;
    CornerMenuGL* findCornerMenu() const;

    // ---- Factories: the component is made for this scene, added to it
    // (front of the render list) and returned. Primitives also join the
    // first canvas, whose buffers they follow. Positions are device pixels,
    // rotations degrees, type the primitive type of the control table (PrimitiveType).
    CanvasCompositeGL* createCanvas(double x, double y, double width, double height, double angle, double border,
                                    double overflow, unsigned textureId, unsigned toolBrushes, int brushValue,
                                    int elementKind, float initialSize, int furtherValue);
    ToolBrushLeafGL* createToolBrush(double x, double y, double width, double height, int typeId, int owner);
    // textureId with its used rectangle as texture coordinates (s0, s1, t0, t1).
    StrokeLeafGL* createStrokeLeaf(double width, double height, double x, double y, double rotation,
                                   unsigned textureId, float s0, float s1, float t0, float t1, bool bumpMapping,
                                   int type);
    TileLeafGL* createTileLeaf(double width, double height, double x, double y, double rotation, bool dodging,
                               int type);
    PointLeafGL* createPointLeaf(double width, double height, double x, double y, int type);
    GeoStrokeLeafGL* createGeoStrokeLeaf(double width, double height, double x, double y, double rotation,
                                         int segments, int type);
    // A round palette of side width centred at device (x, y), child of the
    // first canvas, hidden until shown; textures in the configuration's
    // palette texture order.
    PaletteLeafGL* createPalette(double width, double height, double x, double y, float opacity,
                                 float toolBrushTypeId, float defaultToolBrushSize,
                                 const std::vector<unsigned>& textures);
    // A colour reference picture from the image file at path, child of the
    // first canvas.
    ReferenceImageLeafGL* createReferenceImage(double width, double height, double x, double y,
                                               const std::string& path);
    // The sketching panel, hidden; it selects its element images in the
    // first canvas's control table and adds them to the stroke menu's grid.
    GeoStrokeBuildCanvasCompositeGL* createStrokeBuildCanvas(double x, double y, double width, double height,
                                                             double angle, double border, double overflow);
    // The stroke menu, hidden, with the scene's image textures as its grid;
    // it writes its choice into the first canvas's control table.
    StrokeMenuGL* createStrokeMenu(double width, double height, double x, double y, double opacity, bool rnt,
                                   bool tossing, unsigned backgroundTexture, unsigned acceptTexture,
                                   unsigned cancelTexture, unsigned sketchTexture);
    // Menus: centre (x, y), size, opacity, rotate-and-translate and tossing
    // flags and their texture ids; both are set up (hit map, lists, font).
    ContextMenuGL* createContextMenu(double width, double height, double x, double y, double opacity,
                                     bool rotateAndTranslate, bool tossing, unsigned textureId);
    // textures in the order of CornerMenuGL::Texture.
    CornerMenuGL* createCornerMenu(double width, double height, double x, double y, double opacity,
                                   bool rotateAndTranslate, bool tossing, const std::vector<unsigned>& textures);

    // The colour that owns the display-to-paint table; null before
    // initializeRenderer.
    const Color* getColorLookUpTable() const { return _colorLookUpTable.get(); }

    // Multitexturing entry points, found by initializeRenderer when the
    // context offers GL_ARB_multitexture and GL_EXT_texture_env_combine.
    bool hasMultitexturing() const { return _multiTexCoord2f != nullptr; }
    int getTextureUnits() const { return _textureUnits; }
    PFNGLMULTITEXCOORD2FARBPROC multiTexCoord2f() const { return _multiTexCoord2f; }
    PFNGLACTIVETEXTUREARBPROC activeTexture() const { return _activeTexture; }
    PFNGLCLIENTACTIVETEXTUREARBPROC clientActiveTexture() const { return _clientActiveTexture; }

private:
    void findMultitexturing();
    // Adds the primitive to the scene and to the first canvas.
    template <typename Primitive>
    Primitive* adoptPrimitive(Primitive* primitive);
    static void setRange(double& min, double& max, double newMin, double newMax);
    // The first canvas's control table, or null.
    BufferTemplate<float>* findControlTable() const;

    std::unique_ptr<Color> _colorLookUpTable;
    PostureRanges _postureRanges{};
    int _inputCombination = 7;
    bool _amountShown = true;
    int _amount = 5;
    int _textureUnits = 0;
    PFNGLMULTITEXCOORD1FARBPROC _multiTexCoord1f = nullptr;
    PFNGLMULTITEXCOORD2FARBPROC _multiTexCoord2f = nullptr;
    PFNGLMULTITEXCOORD3FARBPROC _multiTexCoord3f = nullptr;
    PFNGLMULTITEXCOORD4FARBPROC _multiTexCoord4f = nullptr;
    PFNGLACTIVETEXTUREARBPROC _activeTexture = nullptr;
    PFNGLCLIENTACTIVETEXTUREARBPROC _clientActiveTexture = nullptr;
};
