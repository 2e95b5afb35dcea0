// The main window: menus, keyboard shortcuts, information bar, full-screen
// modes, hardware texture settings and the two OSC sockets.
#pragma once

#include <QMainWindow>

#include <functional>
#include <memory>
#include <ostream>
#include <string>

class QLabel;
class QMenu;
class QUdpSocket;
class CanvasCompositeGL;
class GeoStrokeBuildCanvasCompositeGL;
class StrokeMenuGL;
class PictavoVisGL;
class ReferenceImageLeafGL;
struct FakePosture;
enum class InteractionMode : int;
class QTVelkConfiguration;
class QTPictavoWidgetGL;
class TuioUdpSource;
class WiiMessageEvaluator;

class QTPictavoApplication : public QMainWindow
{
    Q_OBJECT

public:
    // `config` is not owned and must outlive the window.
    explicit QTPictavoApplication(QTVelkConfiguration* config);
    ~QTPictavoApplication() override;

    QTPictavoWidgetGL* glWidget() const { return _glWidget; }
    // Tablet proximity reaches the application object: it drives the pen tray.
    bool eventFilter(QObject* watched, QEvent* event) override;
    // The Wii Remote messages' evaluation (records of every configured Remote).
    WiiMessageEvaluator& wiiInput() const { return *_wiiInput; }
    // The TUIO listener ("tuio" enabled), null when TUIO is off.
    TuioUdpSource* tuioSource() const { return _tuioSource; }
    bool isMultiMonitorFullscreen() const { return _multiMonitorFullscreen; }
    bool barsInFullscreen() const { return _barsInFullscreen; }
    bool isPickingRendering() const { return _pickingRendering; }
    bool isReferenceImageLoaded() const { return _referenceImageLoaded; }
    const std::string& referenceImagePath() const { return _referenceImagePath; }
    bool isHardwareNotePending() const { return _hardwareNotePending; }
    bool isMipMapping() const { return _mipMapping; }
    bool isLinearFiltering() const { return _linearFiltering; }
    bool isTextureCompression() const { return _textureCompression; }
    bool isARBTextureCompression() const { return _arbTextureCompression; }

    // The file chooser of the colour reference image; a file dialog unless
    // replaced (tests replace it to run without a person).
    void setImageFileChooser(std::function<QString()> chooser) { _chooseImageFile = std::move(chooser); }

signals:
    void toggleMipMapping(bool on);
    void toggleLinearFiltering(bool on);
    void toggleTextureCompression(bool on);
    void toggleARBTextureCompression(bool on);

public slots:
    void about();
    void showHardwareMessage();
    void setFps(float fps);
    void setObjectNumber(unsigned int number);
    void setBufferSize(unsigned int width, unsigned int height);
    void setMemorySize(unsigned long kibibytes);
    void setUserNumber(unsigned int number);
    void toggleFullscreen();
    void toggleMultiMonitorFullscreen();
    void toggleStatusbars();
    void togglePickingRendering();
    void choosePaintColor();
    void toggleElementBuildCanvasVisibility();
    void openElementBuildCanvas();
    void closeElementBuildCanvas();
    void toggleElementBuildCanvasMovementWithoutExtend();
    void enableElementBuildCanvasMovementWithoutExtend();
    void disableElementBuildCanvasMovementWithoutExtend();
    void canvasDrawSegmentAsStroke();
    void canvasDrawSegmentAsPoints();
    void canvasDeleteStrokes();
    void canvasUseStrokesAsRenderingElements();
    void canvasToggleEraseCapability();
    void openStrokeMenu();
    void closeStrokeMenu();
    void openContextMenu();
    void closeContextMenu();
    void openPalette();
    void closePalette();
    void setPenFakePosture();
    void setOneFingerFakePosture();
    void setTwoFingersFakePosture();
    void setFistFakePosture();
    void setHandFakePosture();
    void createTargetAreaBufferImage();
    void createPrimColorBufferImage();
    void createTempColorBufferImage();
    void createColorBufferImage();
    void createSelectionBufferImage();
    void createDropoffBufferImage();
    void createOrientationBufferImage();
    void createGradientBufferImage();
    void createDepthBufferImage();
    void switchToCreateMode();
    void switchToEraseMode();
    void switchToOrientationMode();
    void switchToMoveMode();
    void switchToSizeMode();
    void switchToColorMode();
    void setDTWIIInputCombo();
    void setDTWIINCInputCombo();
    void setDTWIIPointingNCModesInputCombo();
    void switchIntoTaskMode();
    void switchOutOfTaskMode();
    void loadColorReferenceImage();
    void mipMapping();
    void linearFiltering();
    void textureCompression();
    void arbTextureCompression();
    void notifyMipMapping(bool on);
    void notifyLinearFiltering(bool on);
    void notifyTextureCompression(bool on);
    void notifyARBTextureCompression(bool on);
    void readPendingDatagrams();

private:
    void createStatusBar();
    void createActionsAndMenus();
    // F7 and F8, and tablet proximity, as the board's pen tray.
    void createPenTrayActions();
    // Alt+K and Shift+K open and close the stroke menu.
    void createStrokeMenuActions();
    void setBarsVisible(bool visible);
    // The four hardware settings come in linked pairs: a base setting
    // (mip mapping, texture compression) and the one that needs it (linear
    // filtering, ARB texture compression).
    enum HardwareSetting { MipMapping, LinearFiltering, TextureCompression, ARBTextureCompression };
    bool& hardwareFlag(HardwareSetting setting);
    QAction* hardwareAction(HardwareSetting setting) const;
    // Sets a flag and its check mark, then applies the link rule: a base
    // switched off switches its partner off, a dependent switched on
    // switches its base on.
    void setHardwareSetting(HardwareSetting setting, bool on);
    // A menu command: flips the setting, tells the widget, shows the note.
    void toggleHardwareSetting(HardwareSetting setting);
    // The scene as this system's scene; null before the surface is initialised.
    PictavoVisGL* pictavoVis() const;
    // The scene's first canvas, or null.
    CanvasCompositeGL* canvas() const;
    // The scene's stroke build canvas and stroke menu, or null.
    GeoStrokeBuildCanvasCompositeGL* buildCanvas() const;
    StrokeMenuGL* strokeMenu() const;
    void setInputCombination(int combination);
    // Commands for the canvas; each does nothing while the scene has no canvas.
    void setCanvasInteractionMode(InteractionMode mode);
    void createCanvasBufferImage(int bufferTag);
    void setCanvasFakePosture(const FakePosture& posture);
    void setTaskMode(bool on);
    // Sends "/wiidata/leftBorderRegion" from the second socket to the bridge.
    void sendLeftBorderRegion(bool left);

    QTVelkConfiguration* _config;
    QMenu* _fileMenu = nullptr;
    QMenu* _controlMenu = nullptr;
    QMenu* _demosMenu = nullptr;
    QMenu* _hardwareMenu = nullptr;
    QMenu* _helpMenu = nullptr;
    QTPictavoWidgetGL* _glWidget = nullptr;
    QLabel* _fpsLabel = nullptr;
    QLabel* _objectNumberLabel = nullptr;
    QLabel* _bufferWidthLabel = nullptr;
    QLabel* _bufferHeightLabel = nullptr;
    QLabel* _memoryLabel = nullptr;
    QLabel* _userNumberLabel = nullptr;
    bool _multiMonitorFullscreen = false;
    bool _barsInFullscreen = false;
    bool _pickingRendering = false;
    bool _mipMapping = false;
    bool _linearFiltering = false;
    bool _textureCompression = false;
    bool _arbTextureCompression = false;
    QAction* _mipMappingAction = nullptr;
    QAction* _linearFilteringAction = nullptr;
    QAction* _textureCompressionAction = nullptr;
    QAction* _arbTextureCompressionAction = nullptr;
    bool _hardwareNotePending = true;
    QUdpSocket* _receiveSocket = nullptr;
    QUdpSocket* _sendSocket = nullptr;
    TuioUdpSource* _tuioSource = nullptr;
    std::unique_ptr<WiiMessageEvaluator> _wiiInput;
    bool _referenceImageLoaded = false;
    std::string _referenceImagePath;
    ReferenceImageLeafGL* _referenceImage = nullptr;   // owned by the scene
    std::function<QString()> _chooseImageFile;
};
