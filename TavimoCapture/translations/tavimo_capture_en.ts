<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="en">
<context>
    <name>AppearanceMenu</name>
    <message>
        <source>System</source>
        <translation>System</translation>
    </message>
    <message>
        <source>Light</source>
        <translation>Light</translation>
    </message>
    <message>
        <source>Dark</source>
        <translation>Dark</translation>
    </message>
</context>
<context>
    <name>AppearancePicker</name>
    <message>
        <source>Appearance</source>
        <translation>Appearance</translation>
    </message>
</context>
<context>
    <name>CaptureAppDelegate</name>
    <message>
        <source>Capture in 1 second</source>
        <translation>Capture in 1 second</translation>
    </message>
    <message>
        <source>Capture in %1 seconds</source>
        <translation>Capture in %1 seconds</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
</context>
<context>
    <name>CaptureAutostart</name>
    <message>
        <source>it was changed by hand to start another program</source>
        <translation>it was changed by hand to start another program</translation>
    </message>
</context>
<context>
    <name>CaptureEditorPolicy</name>
    <message>
        <source>Always</source>
        <translation>Always</translation>
    </message>
    <message>
        <source>From thumbnail</source>
        <translation>From thumbnail</translation>
    </message>
    <message>
        <source>Never</source>
        <translation>Never</translation>
    </message>
</context>
<context>
    <name>CaptureFailure</name>
    <message>
        <source>This image could not be opened. Choose a PNG, JPEG or TIFF image.</source>
        <translation>This image could not be opened. Choose a PNG, JPEG or TIFF image.</translation>
    </message>
    <message>
        <source>The image could not be saved. Check the destination and available disk space.</source>
        <translation>The image could not be saved. Check the destination and available disk space.</translation>
    </message>
    <message>
        <source>The desktop refused the screenshot. Allow screenshots for Tavimo Capture in your desktop&apos;s settings and try again.</source>
        <translation>The desktop refused the screenshot. Allow screenshots for Tavimo Capture in your desktop&apos;s settings and try again.</translation>
    </message>
    <message>
        <source>The screen could not be read.</source>
        <translation>The screen could not be read.</translation>
    </message>
</context>
<context>
    <name>CaptureFileSystemFailure</name>
    <message>
        <source>The folder “%1” could not be created: %2.</source>
        <translation>The folder “%1” could not be created: %2.</translation>
    </message>
    <message>
        <source>The file “%1” could not be written: %2.</source>
        <translation>The file “%1” could not be written: %2.</translation>
    </message>
    <message>
        <source>The permissions of “%1” could not be set: %2.</source>
        <translation>The permissions of “%1” could not be set: %2.</translation>
    </message>
    <message>
        <source>The file “%1” could not be removed: %2.</source>
        <translation>The file “%1” could not be removed: %2.</translation>
    </message>
</context>
<context>
    <name>CaptureImportFailure</name>
    <message>
        <source>This file could not be found. Check its name and folder.</source>
        <translation>This file could not be found. Check its name and folder.</translation>
    </message>
    <message>
        <source>This file could not be read. Check that you may open it.</source>
        <translation>This file could not be read. Check that you may open it.</translation>
    </message>
    <message>
        <source>This file is not an image. Choose a PNG, JPEG or TIFF image.</source>
        <translation>This file is not an image. Choose a PNG, JPEG or TIFF image.</translation>
    </message>
    <message>
        <source>Choose an image up to 80 megapixels.</source>
        <translation>Choose an image up to 80 megapixels.</translation>
    </message>
</context>
<context>
    <name>CaptureInspector</name>
    <message>
        <source>Drawn in %1</source>
        <translation>Drawn in %1</translation>
    </message>
</context>
<context>
    <name>CaptureMenus</name>
    <message>
        <source>Cancel Delayed Capture</source>
        <translation>Cancel Delayed Capture</translation>
    </message>
</context>
<context>
    <name>CaptureMode</name>
    <message>
        <source>Capture area or window</source>
        <translation>Capture area or window</translation>
    </message>
    <message>
        <source>Copy text from area</source>
        <translation>Copy text from area</translation>
    </message>
    <message>
        <source>Capture main display</source>
        <translation>Capture main display</translation>
    </message>
    <message>
        <source>Capture all displays</source>
        <translation>Capture all displays</translation>
    </message>
</context>
<context>
    <name>CaptureOCRFailure</name>
    <message>
        <source>Text recognition is not available: the English language data is not installed.</source>
        <translation>Text recognition is not available: the English language data is not installed.</translation>
    </message>
    <message>
        <source>Text recognition is not available: the tavimo-ocr program is not installed.</source>
        <translation>Text recognition is not available: the tavimo-ocr program is not installed.</translation>
    </message>
    <message>
        <source>The text in this image could not be recognized.</source>
        <translation>The text in this image could not be recognized.</translation>
    </message>
</context>
<context>
    <name>CapturePngEncodeError</name>
    <message>
        <source>This image could not be encoded as PNG.</source>
        <translation>This image could not be encoded as PNG.</translation>
    </message>
</context>
<context>
    <name>CaptureRenderError</name>
    <message>
        <source>This image could not be opened.</source>
        <translation>This image could not be opened.</translation>
    </message>
    <message>
        <source>There is not enough memory to render this capture.</source>
        <translation>There is not enough memory to render this capture.</translation>
    </message>
    <message>
        <source>This image is too large to export. Crop it to 80 megapixels or fewer.</source>
        <translation>This image is too large to export. Crop it to 80 megapixels or fewer.</translation>
    </message>
</context>
<context>
    <name>CaptureSelectionFocus</name>
    <message>
        <source>Capture could not take keyboard focus. Open Tavimo Capture and try again.</source>
        <translation>Capture could not take keyboard focus. Open Tavimo Capture and try again.</translation>
    </message>
</context>
<context>
    <name>CaptureService</name>
    <message>
        <source>The screenshot tool could not be started: %1</source>
        <translation>The screenshot tool could not be started: %1</translation>
    </message>
    <message>
        <source>Drag to choose an area. This desktop does not let apps pick a window.</source>
        <translation>Drag to choose an area. This desktop does not let apps pick a window.</translation>
    </message>
</context>
<context>
    <name>CaptureSettingsView</name>
    <message>
        <source>Start Tavimo Capture at login</source>
        <translation>Start Tavimo Capture at login</translation>
    </message>
</context>
<context>
    <name>CaptureShortcuts</name>
    <message>
        <source>Global shortcuts could not be registered. Use the menu bar commands.</source>
        <translation>Global shortcuts could not be registered. Use the menu bar commands.</translation>
    </message>
    <message>
        <source>To capture with a key, bind one in your desktop&apos;s keyboard settings to &quot;tavimo-capture --area&quot;, &quot;tavimo-capture --text&quot; or &quot;tavimo-capture --screen&quot;.</source>
        <translation>To capture with a key, bind one in your desktop&apos;s keyboard settings to &quot;tavimo-capture --area&quot;, &quot;tavimo-capture --text&quot; or &quot;tavimo-capture --screen&quot;.</translation>
    </message>
    <message>
        <source>%1: shortcut %2 is unavailable. Use the menu bar command.</source>
        <translation>%1: shortcut %2 is unavailable. Use the menu bar command.</translation>
    </message>
</context>
<context>
    <name>CaptureTool</name>
    <message>
        <source>Secure mosaic</source>
        <translation>Secure mosaic</translation>
    </message>
    <message>
        <source>Pixelate</source>
        <translation>Pixelate</translation>
    </message>
</context>
<context>
    <name>CaptureWelcomeView</name>
    <message>
        <source>Screenshot Permissions</source>
        <translation>Screenshot Permissions</translation>
    </message>
    <message>
        <source>The desktop&apos;s settings could not be opened. Allow screenshots for Tavimo Capture there.</source>
        <translation>The desktop&apos;s settings could not be opened. Allow screenshots for Tavimo Capture there.</translation>
    </message>
    <message>
        <source>Open the desktop&apos;s settings, where apps may be allowed to take screenshots.</source>
        <translation>Open the desktop&apos;s settings, where apps may be allowed to take screenshots.</translation>
    </message>
</context>
<context>
    <name>CaptureWorkspace</name>
    <message>
        <source>The current capture changed. Add the image again to choose its destination.</source>
        <translation>The current capture changed. Add the image again to choose its destination.</translation>
    </message>
    <message>
        <source>Image copied</source>
        <translation>Image copied</translation>
    </message>
    <message>
        <source>The capture changed while saving. Save it again before closing.</source>
        <translation>The capture changed while saving. Save it again before closing.</translation>
    </message>
    <message>
        <source>Image saved</source>
        <translation>Image saved</translation>
    </message>
    <message>
        <source>Image exported, but recent history could not be updated: </source>
        <translation>Image exported, but recent history could not be updated: </translation>
    </message>
    <message>
        <source>Image pinned</source>
        <translation>Image pinned</translation>
    </message>
    <message>
        <source>Capture closed</source>
        <translation>Capture closed</translation>
    </message>
    <message>
        <source>Text recognized on this computer</source>
        <translation>Text recognized on this computer</translation>
    </message>
    <message>
        <source>No text found in this image</source>
        <translation>No text found in this image</translation>
    </message>
    <message>
        <source>Click highlighted words to hide them. Review the image for text that was not detected.</source>
        <translation>Click highlighted words to hide them. Review the image for text that was not detected.</translation>
    </message>
    <message>
        <source>No text detected. Drag to hide an area manually.</source>
        <translation>No text detected. Drag to hide an area manually.</translation>
    </message>
    <message>
        <source>The action could not be completed. Try again.</source>
        <translation>The action could not be completed. Try again.</translation>
    </message>
    <message>
        <source>Close this capture?</source>
        <translation>Close this capture?</translation>
    </message>
    <message>
        <source>Save the current image before closing, or discard the editor changes. Existing exports and recent history will remain available. Closing the capture allows a pending update to finish.</source>
        <translation>Save the current image before closing, or discard the editor changes. Existing exports and recent history will remain available. Closing the capture allows a pending update to finish.</translation>
    </message>
    <message>
        <source>Save and Close</source>
        <translation>Save and Close</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Discard and Close</source>
        <translation>Discard and Close</translation>
    </message>
    <message>
        <source>Clear recent captures?</source>
        <translation>Clear recent captures?</translation>
    </message>
    <message>
        <source>This removes the local recent history. Exported files and your current image stay available.</source>
        <translation>This removes the local recent history. Exported files and your current image stay available.</translation>
    </message>
    <message>
        <source>Clear History</source>
        <translation>Clear History</translation>
    </message>
</context>
<context>
    <name>SupportSettingsFooter</name>
    <message>
        <source>This build sends no usage statistics.</source>
        <translation>This build sends no usage statistics.</translation>
    </message>
</context>
<context>
    <name>UserDefaults</name>
    <message>
        <source>Settings could not be saved: %1.</source>
        <translation>Settings could not be saved: %1.</translation>
    </message>
</context>
</TS>
