// The scene of this system: the engine's scene plus renderer set-up, the
// posture ranges, the input combination and the colour look-up table.
#pragma once

#include "Color.h"
#include "PostureDetector.h"
#include "TabletopVisGL.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <memory>

class PictavoVisGL : public TabletopVisGL
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
    virtual void setAmountShown(bool shown) { _amountShown = shown; }
    virtual bool isAmountShown() const { return _amountShown; }
    virtual int getAmount() const { return _amount; }
    virtual void setAmount(int amount) { _amount = amount; }

    // The ten bounds as a posture detector takes them.
    const PostureRanges& getPostureRanges() const { return _postureRanges; }

    // Which input devices drive the canvas and how: 7 (touch with postures)
    // at start, 0, 5 or 6 by the main window's commands.
    int getInputCombination() const { return _inputCombination; }
    void setInputCombination(int combination) { _inputCombination = combination; }

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
    static void setRange(double& min, double& max, double newMin, double newMax);

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
