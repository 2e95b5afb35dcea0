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
class QTimer;
class PaintingSaver;
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

    // Saved paintings. The autosave file in the run directory. When the
    // environment names PICTAVO_PAINTING_FILE, save and open use that file
    // instead of asking; PICTAVO_EXPORT_FILE and PICTAVO_EXPORT_SCALE (1, 2
    // or 4) do the same for export.
    static constexpr const char* AutosaveFile = "autosave.pictavo";
    // At start-up an autosave left by the previous run is kept under this
    // name; the first Restore Autosave opens it, later ones this run's.
    static constexpr const char* PreviousAutosaveFile = "autosave-previous.pictavo";
    // Saves or opens a painting file now; "" or the one-line message (also
    // shown in a box and on standard error when opening fails).
    std::string savePaintingTo(const std::string& path);
    std::string openPaintingFrom(const std::string& path);
    std::string exportImageTo(const std::string& path, int scale);
    // The last message of a painting command ("" after a success).
    const std::string& lastPaintingMessage() const { return _paintingMessage; }

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
    // Saved paintings (PaintingCommands.cpp). Save, open and export ask for
    // a file (or take the script file, below); opening a file that is not a
    // readable painting shows one message and changes nothing.
    void savePainting();
    void openPainting();
    void exportImage();
    // Opens the last autosave (see PreviousAutosaveFile).
    void restoreAutosave();
    // The timer's autosave: the state is taken now, the file written on a
    // worker thread; skipped while the previous one still runs.
    void autosave();

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
    // Autosave timer (painting.autosave_seconds; none for 0) and the
    // frame watch that reports the worst frame while an autosave runs.
    void startAutosave();
    void watchAutosave();
    // Waits for a running autosave, then saves once more (synchronously).
    void autosaveAtExit();
    // The file for a painting command: PICTAVO_PAINTING_FILE, else a dialog.
    QString choosePaintingFile(bool saving);
    void reportPaintingFailure(const std::string& message);

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
    std::unique_ptr<PaintingSaver> _autosaver;
    QTimer* _autosaveTimer = nullptr;
    double _worstAutosaveFrame = 0.0;   // seconds, while an autosave runs
    double _worstOtherFrame = 0.0;      // seconds, between the last two autosaves
    std::size_t _autosavedPrimitives = 0;
    std::string _paintingMessage;
    bool _previousAutosaveRestored = false;
};
