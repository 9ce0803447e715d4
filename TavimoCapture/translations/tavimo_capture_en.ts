<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="en">
<context>
    <name>AppDistributionSettings</name>
    <message>
        <source>Automatically check for updates</source>
        <translation>Automatically check for updates</translation>
    </message>
    <message>
        <source>Download updates automatically</source>
        <translation>Download updates automatically</translation>
    </message>
    <message>
        <source>Check for Updates…</source>
        <translation>Check for Updates…</translation>
    </message>
    <message>
        <source>Updates</source>
        <translation>Updates</translation>
    </message>
    <message>
        <source>Installation waits until active work finishes. You can keep automatic checks off and update manually.</source>
        <translation>Installation waits until active work finishes. You can keep automatic checks off and update manually.</translation>
    </message>
</context>
<context>
    <name>AppUpdates</name>
    <message>
        <source>Updates are not published for this build yet.</source>
        <translation>Updates are not published for this build yet.</translation>
    </message>
    <message>
        <source>Updates are disabled in review builds.</source>
        <translation>Updates are disabled in review builds.</translation>
    </message>
    <message>
        <source>Updates use the internet. App content is never included in update checks.</source>
        <translation>Updates use the internet. App content is never included in update checks.</translation>
    </message>
    <message>
        <source>Updates could not start: </source>
        <translation>Updates could not start: </translation>
    </message>
    <message>
        <source>You&apos;re up to date.</source>
        <translation>You&apos;re up to date.</translation>
    </message>
    <message>
        <source>Update installation postponed. You can check again when ready.</source>
        <translation>Update installation postponed. You can check again when ready.</translation>
    </message>
    <message>
        <source>The update was not installed. You can check for updates again.</source>
        <translation>The update was not installed. You can check for updates again.</translation>
    </message>
    <message>
        <source>Update ready. Waiting for active work to finish.</source>
        <translation>Update ready. Waiting for active work to finish.</translation>
    </message>
    <message>
        <source>Installing update…</source>
        <translation>Installing update…</translation>
    </message>
    <message>
        <source>Check for Updates…</source>
        <translation>Check for Updates…</translation>
    </message>
    <message>
        <source>Update Settings…</source>
        <translation>Update Settings…</translation>
    </message>
</context>
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
    <message>
        <source>Appearance</source>
        <translation>Appearance</translation>
    </message>
    <message>
        <source>Change the appearance of this app only</source>
        <translation>Change the appearance of this app only</translation>
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
    <name>BetaSupportView</name>
    <message>
        <source>App details included</source>
        <translation>App details included</translation>
    </message>
    <message>
        <source>Copy report</source>
        <translation>Copy report</translation>
    </message>
    <message>
        <source>Send report</source>
        <translation>Send report</translation>
    </message>
    <message>
        <source>%1 feedback</source>
        <translation>%1 feedback</translation>
    </message>
    <message>
        <source>Report type</source>
        <translation>Report type</translation>
    </message>
    <message>
        <source>Feedback</source>
        <translation>Feedback</translation>
    </message>
    <message>
        <source>Bug report</source>
        <translation>Bug report</translation>
    </message>
    <message>
        <source>Your message</source>
        <translation>Your message</translation>
    </message>
    <message>
        <source>Only your message and app details are sent. No screenshots, logs or usage identifier are attached.</source>
        <translation>Only your message and app details are sent. No screenshots, logs or usage identifier are attached.</translation>
    </message>
    <message>
        <source>Online reporting is not configured in this build. You can copy your report.</source>
        <translation>Online reporting is not configured in this build. You can copy your report.</translation>
    </message>
    <message>
        <source>What happened, and what did you expect?</source>
        <translation>What happened, and what did you expect?</translation>
    </message>
    <message>
        <source>What would make this app better?</source>
        <translation>What would make this app better?</translation>
    </message>
    <message>
        <source>%1/%2 characters</source>
        <translation>%1/%2 characters</translation>
    </message>
    <message>
        <source>Copied.</source>
        <translation>Copied.</translation>
    </message>
    <message>
        <source>Report sent. Thank you.</source>
        <translation>Report sent. Thank you.</translation>
    </message>
    <message>
        <source>Delivery could not be confirmed. Your message is preserved; retrying may duplicate a report.</source>
        <translation>Delivery could not be confirmed. Your message is preserved; retrying may duplicate a report.</translation>
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
    <message>
        <source>This desktop shows no tray icon. Capture from the File menu or the hot keys, and reopen this window by starting Tavimo Capture again.</source>
        <translation>This desktop shows no tray icon. Capture from the File menu or the hot keys, and reopen this window by starting Tavimo Capture again.</translation>
    </message>
    <message>
        <source>Open this pinned capture in the editor?</source>
        <translation>Open this pinned capture in the editor?</translation>
    </message>
    <message>
        <source>This replaces the current editor document. Save any changes you want to keep first.</source>
        <translation>This replaces the current editor document. Save any changes you want to keep first.</translation>
    </message>
    <message>
        <source>Open Pinned Capture</source>
        <translation>Open Pinned Capture</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Save or Close Capture to Update…</source>
        <translation>Save or Close Capture to Update…</translation>
    </message>
    <message>
        <source>Update ready. Waiting for capture or text processing to finish, or for the open capture to close.</source>
        <translation>Update ready. Waiting for capture or text processing to finish, or for the open capture to close.</translation>
    </message>
    <message>
        <source>Wait for capture or text processing to finish before updating.</source>
        <translation>Wait for capture or text processing to finish before updating.</translation>
    </message>
    <message>
        <source>Tavimo Capture</source>
        <translation>Tavimo Capture</translation>
    </message>
    <message>
        <source>About Tavimo Capture</source>
        <translation>About Tavimo Capture</translation>
    </message>
    <message>
        <source>Capture, annotate and share. Local by design.</source>
        <translation>Capture, annotate and share. Local by design.</translation>
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
    <name>CaptureBoardCanvas</name>
    <message>
        <source>Resize image, preserving its aspect ratio</source>
        <translation>Resize image, preserving its aspect ratio</translation>
    </message>
</context>
<context>
    <name>CaptureBoardView</name>
    <message>
        <source>Select an image to annotate it. Drag to move; drag its lower-right handle to resize proportionally.</source>
        <translation>Select an image to annotate it. Drag to move; drag its lower-right handle to resize proportionally.</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>Undo image arrangement</source>
        <translation>Undo image arrangement</translation>
    </message>
    <message>
        <source>Export Preview</source>
        <translation>Export Preview</translation>
    </message>
    <message>
        <source>Preview the finished background, border, shadow and legend</source>
        <translation>Preview the finished background, border, shadow and legend</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Remove</translation>
    </message>
    <message>
        <source>Edit Selected Image</source>
        <translation>Edit Selected Image</translation>
    </message>
    <message>
        <source>Arrange</source>
        <translation>Arrange</translation>
    </message>
    <message>
        <source>Arrange images using the background padding as spacing</source>
        <translation>Arrange images using the background padding as spacing</translation>
    </message>
    <message>
        <source>%1 images</source>
        <translation>%1 images</translation>
    </message>
    <message>
        <source>Alternating</source>
        <translation>Alternating</translation>
    </message>
    <message>
        <source>Row</source>
        <translation>Row</translation>
    </message>
    <message>
        <source>Column</source>
        <translation>Column</translation>
    </message>
    <message>
        <source>Grid</source>
        <translation>Grid</translation>
    </message>
    <message>
        <source>Manual</source>
        <translation>Manual</translation>
    </message>
</context>
<context>
    <name>CaptureCanvasView</name>
    <message>
        <source>Capture canvas</source>
        <translation>Capture canvas</translation>
    </message>
    <message>
        <source>Choose Select to move annotations. Double-click text to edit it. Drag arrow handles to change its direction or curve. Delete removes a selected mark.</source>
        <translation>Choose Select to move annotations. Double-click text to edit it. Drag arrow handles to change its direction or curve. Delete removes a selected mark.</translation>
    </message>
</context>
<context>
    <name>CaptureCommandLine</name>
    <message>
        <source>Capture, annotate and share. Local by design.</source>
        <translation>Capture, annotate and share. Local by design.</translation>
    </message>
    <message>
        <source>Capture an area or a window.</source>
        <translation>Capture an area or a window.</translation>
    </message>
    <message>
        <source>Copy the text of an area.</source>
        <translation>Copy the text of an area.</translation>
    </message>
    <message>
        <source>Capture the main display.</source>
        <translation>Capture the main display.</translation>
    </message>
    <message>
        <source>Capture all displays.</source>
        <translation>Capture all displays.</translation>
    </message>
    <message>
        <source>Show the editor.</source>
        <translation>Show the editor.</translation>
    </message>
    <message>
        <source>Open an image in the editor.</source>
        <translation>Open an image in the editor.</translation>
    </message>
    <message>
        <source>FILE</source>
        <translation>FILE</translation>
    </message>
    <message>
        <source>Wait before capturing.</source>
        <translation>Wait before capturing.</translation>
    </message>
    <message>
        <source>SECONDS</source>
        <translation>SECONDS</translation>
    </message>
    <message>
        <source>Write the capture as PNG to FILE (- for standard output) instead of applying the after-capture settings.</source>
        <translation>Write the capture as PNG to FILE (- for standard output) instead of applying the after-capture settings.</translation>
    </message>
    <message>
        <source>Let --output replace a file.</source>
        <translation>Let --output replace a file.</translation>
    </message>
</context>
<context>
    <name>CaptureDelivery</name>
    <message>
        <source>Clipboard: </source>
        <translation>Clipboard: </translation>
    </message>
    <message>
        <source>Automatic save failed: </source>
        <translation>Automatic save failed: </translation>
    </message>
    <message>
        <source>Recent history could not be updated: </source>
        <translation>Recent history could not be updated: </translation>
    </message>
    <message>
        <source>Image exported, but recent history could not be updated: </source>
        <translation>Image exported, but recent history could not be updated: </translation>
    </message>
    <message>
        <source>Saved</source>
        <translation>Saved</translation>
    </message>
    <message>
        <source>Copied</source>
        <translation>Copied</translation>
    </message>
    <message>
        <source>Capture</source>
        <translation>Capture</translation>
    </message>
</context>
<context>
    <name>CaptureDialogPanels</name>
    <message>
        <source>Images (%1)</source>
        <translation>Images (%1)</translation>
    </message>
    <message>
        <source>Open Image</source>
        <translation>Open Image</translation>
    </message>
    <message>
        <source>Save Image</source>
        <translation>Save Image</translation>
    </message>
    <message>
        <source>Tavimo Capture</source>
        <translation>Tavimo Capture</translation>
    </message>
</context>
<context>
    <name>CaptureDocument</name>
    <message>
        <source>Text</source>
        <translation>Text</translation>
    </message>
</context>
<context>
    <name>CaptureDocumentView</name>
    <message>
        <source>Text copied</source>
        <translation>Text copied</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>Undo last change</source>
        <translation>Undo last change</translation>
    </message>
    <message>
        <source>Extract text</source>
        <translation>Extract text</translation>
    </message>
    <message>
        <source>Extract text from this image</source>
        <translation>Extract text from this image</translation>
    </message>
    <message>
        <source>Pin image</source>
        <translation>Pin image</translation>
    </message>
    <message>
        <source>Pin image above other windows</source>
        <translation>Pin image above other windows</translation>
    </message>
    <message>
        <source>Recognized text</source>
        <translation>Recognized text</translation>
    </message>
    <message>
        <source>Copy Text</source>
        <translation>Copy Text</translation>
    </message>
    <message>
        <source>Close recognized text</source>
        <translation>Close recognized text</translation>
    </message>
    <message>
        <source>Hide inspector</source>
        <translation>Hide inspector</translation>
    </message>
    <message>
        <source>Show inspector</source>
        <translation>Show inspector</translation>
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
    <message>
        <source>The connected displays exceed the 80-megapixel limit. Capture fewer displays separately.</source>
        <translation>The connected displays exceed the 80-megapixel limit. Capture fewer displays separately.</translation>
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
    <name>CaptureInlineTextView</name>
    <message>
        <source>Annotation text</source>
        <translation>Annotation text</translation>
    </message>
    <message>
        <source>Enter commits. Shift-Enter adds a line. Escape cancels.</source>
        <translation>Enter commits. Shift-Enter adds a line. Escape cancels.</translation>
    </message>
</context>
<context>
    <name>CaptureInspector</name>
    <message>
        <source>Drawn in %1</source>
        <translation>Drawn in %1</translation>
    </message>
    <message>
        <source>%1 × %2 px</source>
        <translation>%1 × %2 px</translation>
    </message>
    <message>
        <source>Selected %1</source>
        <translation>Selected %1</translation>
    </message>
    <message>
        <source>%1 style</source>
        <translation>%1 style</translation>
    </message>
    <message>
        <source>Source: %1</source>
        <translation>Source: %1</translation>
    </message>
    <message>
        <source>Destination: %1</source>
        <translation>Destination: %1</translation>
    </message>
    <message>
        <source>Scale: %1×</source>
        <translation>Scale: %1×</translation>
    </message>
    <message>
        <source>Open a capture to edit it.</source>
        <translation>Open a capture to edit it.</translation>
    </message>
    <message>
        <source>Inspector</source>
        <translation>Inspector</translation>
    </message>
    <message>
        <source>Delete selected annotation</source>
        <translation>Delete selected annotation</translation>
    </message>
    <message>
        <source>Image appearance</source>
        <translation>Image appearance</translation>
    </message>
    <message>
        <source>Numbered legend</source>
        <translation>Numbered legend</translation>
    </message>
    <message>
        <source>px</source>
        <translation>px</translation>
    </message>
    <message>
        <source>Outline</source>
        <translation>Outline</translation>
    </message>
    <message>
        <source>Fill</source>
        <translation>Fill</translation>
    </message>
    <message>
        <source>Spotlight</source>
        <translation>Spotlight</translation>
    </message>
    <message>
        <source>Pen</source>
        <translation>Pen</translation>
    </message>
    <message>
        <source>Highlighter</source>
        <translation>Highlighter</translation>
    </message>
    <message>
        <source>Circle</source>
        <translation>Circle</translation>
    </message>
    <message>
        <source>Teardrop</source>
        <translation>Teardrop</translation>
    </message>
    <message>
        <source>Background</source>
        <translation>Background</translation>
    </message>
    <message>
        <source>Arrowheads</source>
        <translation>Arrowheads</translation>
    </message>
    <message>
        <source>None</source>
        <translation>None</translation>
    </message>
    <message>
        <source>End</source>
        <translation>End</translation>
    </message>
    <message>
        <source>Both ends</source>
        <translation>Both ends</translation>
    </message>
    <message>
        <source>Line</source>
        <translation>Line</translation>
    </message>
    <message>
        <source>Solid</source>
        <translation>Solid</translation>
    </message>
    <message>
        <source>Dashed</source>
        <translation>Dashed</translation>
    </message>
    <message>
        <source>Dotted</source>
        <translation>Dotted</translation>
    </message>
    <message>
        <source>Curved arrow</source>
        <translation>Curved arrow</translation>
    </message>
    <message>
        <source>Select an arrow and drag the middle handle to change its curve.</source>
        <translation>Select an arrow and drag the middle handle to change its curve.</translation>
    </message>
    <message>
        <source>Bold</source>
        <translation>Bold</translation>
    </message>
    <message>
        <source>Italic</source>
        <translation>Italic</translation>
    </message>
    <message>
        <source>Underline</source>
        <translation>Underline</translation>
    </message>
    <message>
        <source>System</source>
        <translation>System</translation>
    </message>
    <message>
        <source>Detect Text</source>
        <translation>Detect Text</translation>
    </message>
    <message>
        <source>Click highlighted text on the image to hide it with this tool.</source>
        <translation>Click highlighted text on the image to hide it with this tool.</translation>
    </message>
    <message>
        <source>Clear Highlights</source>
        <translation>Clear Highlights</translation>
    </message>
    <message>
        <source>Transparent</source>
        <translation>Transparent</translation>
    </message>
    <message>
        <source>Gradient</source>
        <translation>Gradient</translation>
    </message>
    <message>
        <source>Background color</source>
        <translation>Background color</translation>
    </message>
    <message>
        <source>Second color</source>
        <translation>Second color</translation>
    </message>
    <message>
        <source>Padding</source>
        <translation>Padding</translation>
    </message>
    <message>
        <source>Corners</source>
        <translation>Corners</translation>
    </message>
    <message>
        <source>Shadow</source>
        <translation>Shadow</translation>
    </message>
    <message>
        <source>Border</source>
        <translation>Border</translation>
    </message>
    <message>
        <source>Border color</source>
        <translation>Border color</translation>
    </message>
    <message>
        <source>Save as default</source>
        <translation>Save as default</translation>
    </message>
    <message>
        <source>Use this background, padding, shadow and border for new captures</source>
        <translation>Use this background, padding, shadow and border for new captures</translation>
    </message>
    <message>
        <source>Background saved as the default for new captures</source>
        <translation>Background saved as the default for new captures</translation>
    </message>
    <message>
        <source>Reset default</source>
        <translation>Reset default</translation>
    </message>
    <message>
        <source>Restore transparent defaults for future captures</source>
        <translation>Restore transparent defaults for future captures</translation>
    </message>
    <message>
        <source>New captures will use the original transparent background</source>
        <translation>New captures will use the original transparent background</translation>
    </message>
    <message>
        <source>Include in image</source>
        <translation>Include in image</translation>
    </message>
    <message>
        <source>Position</source>
        <translation>Position</translation>
    </message>
    <message>
        <source>Bottom</source>
        <translation>Bottom</translation>
    </message>
    <message>
        <source>Right</source>
        <translation>Right</translation>
    </message>
    <message>
        <source>Left</source>
        <translation>Left</translation>
    </message>
    <message>
        <source>Fit to content</source>
        <translation>Fit to content</translation>
    </message>
    <message>
        <source>Height</source>
        <translation>Height</translation>
    </message>
    <message>
        <source>Width</source>
        <translation>Width</translation>
    </message>
    <message>
        <source>Pixels</source>
        <translation>Pixels</translation>
    </message>
    <message>
        <source>Legend height in pixels</source>
        <translation>Legend height in pixels</translation>
    </message>
    <message>
        <source>Legend width in pixels</source>
        <translation>Legend width in pixels</translation>
    </message>
    <message>
        <source>Drag the legend’s outer divider to resize. Text wraps at its original size.</source>
        <translation>Drag the legend’s outer divider to resize. Text wraps at its original size.</translation>
    </message>
    <message>
        <source>Text needs more room. The image expands to include every line.</source>
        <translation>Text needs more room. The image expands to include every line.</translation>
    </message>
    <message>
        <source>Place numbered markers on the image to add their descriptions here.</source>
        <translation>Place numbered markers on the image to add their descriptions here.</translation>
    </message>
    <message>
        <source>Description for marker %1</source>
        <translation>Description for marker %1</translation>
    </message>
    <message>
        <source>Description</source>
        <translation>Description</translation>
    </message>
    <message>
        <source>%1 %2</source>
        <comment>a slider&apos;s value and its unit</comment>
        <translation>%1 %2</translation>
    </message>
</context>
<context>
    <name>CaptureInstanceClient</name>
    <message>
        <source>its answer was not understood.</source>
        <translation>its answer was not understood.</translation>
    </message>
    <message>
        <source>it took too long.</source>
        <translation>it took too long.</translation>
    </message>
    <message>
        <source>it closed the connection.</source>
        <translation>it closed the connection.</translation>
    </message>
</context>
<context>
    <name>CaptureInstanceFailure</name>
    <message>
        <source>Tavimo Capture will not use %1: the folder must be yours and closed to other users.</source>
        <translation>Tavimo Capture will not use %1: the folder must be yours and closed to other users.</translation>
    </message>
    <message>
        <source>Tavimo Capture could not make the folder %1: %2</source>
        <translation>Tavimo Capture could not make the folder %1: %2</translation>
    </message>
    <message>
        <source>Tavimo Capture could not listen on %1: %2</source>
        <translation>Tavimo Capture could not listen on %1: %2</translation>
    </message>
    <message>
        <source>The running Tavimo Capture did not answer: %1</source>
        <translation>The running Tavimo Capture did not answer: %1</translation>
    </message>
</context>
<context>
    <name>CaptureLaunch</name>
    <message>
        <source>it stopped listening.</source>
        <translation>it stopped listening.</translation>
    </message>
    <message>
        <source>The capture was cancelled.</source>
        <translation>The capture was cancelled.</translation>
    </message>
    <message>
        <source>The running Tavimo Capture sent an image nobody asked for.</source>
        <translation>The running Tavimo Capture sent an image nobody asked for.</translation>
    </message>
    <message>
        <source>The capture ended without a result.</source>
        <translation>The capture ended without a result.</translation>
    </message>
</context>
<context>
    <name>CaptureMenus</name>
    <message>
        <source>Cancel Delayed Capture</source>
        <translation>Cancel Delayed Capture</translation>
    </message>
    <message>
        <source>Open Image…</source>
        <translation>Open Image…</translation>
    </message>
    <message>
        <source>Save Image…</source>
        <translation>Save Image…</translation>
    </message>
    <message>
        <source>Save Image As…</source>
        <translation>Save Image As…</translation>
    </message>
    <message>
        <source>Close Capture…</source>
        <translation>Close Capture…</translation>
    </message>
    <message>
        <source>Close Window</source>
        <translation>Close Window</translation>
    </message>
    <message>
        <source>Hide Tavimo Capture</source>
        <translation>Hide Tavimo Capture</translation>
    </message>
    <message>
        <source>Quit Tavimo Capture</source>
        <translation>Quit Tavimo Capture</translation>
    </message>
    <message>
        <source>Undo Annotation</source>
        <translation>Undo Annotation</translation>
    </message>
    <message>
        <source>Cut</source>
        <translation>Cut</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>Paste</translation>
    </message>
    <message>
        <source>Select All</source>
        <translation>Select All</translation>
    </message>
    <message>
        <source>Copy Image</source>
        <translation>Copy Image</translation>
    </message>
    <message>
        <source>Settings…</source>
        <translation>Settings…</translation>
    </message>
    <message>
        <source>Open Capture</source>
        <translation>Open Capture</translation>
    </message>
    <message>
        <source>About Tavimo Capture</source>
        <translation>About Tavimo Capture</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>Editor &amp; Recent Captures</source>
        <translation>Editor &amp; Recent Captures</translation>
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
    <name>CaptureNoticeBanner</name>
    <message>
        <source>Dismiss message</source>
        <translation>Dismiss message</translation>
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
    <name>CaptureOutputCapture</name>
    <message>
        <source>Another capture is still running.</source>
        <translation>Another capture is still running.</translation>
    </message>
</context>
<context>
    <name>CaptureOutputFile</name>
    <message>
        <source>standard output</source>
        <translation>standard output</translation>
    </message>
    <message>
        <source>The file “%1” already exists; add --overwrite to replace it.</source>
        <translation>The file “%1” already exists; add --overwrite to replace it.</translation>
    </message>
</context>
<context>
    <name>CapturePinWindow</name>
    <message>
        <source>Edit in Capture</source>
        <translation>Edit in Capture</translation>
    </message>
    <message>
        <source>Pinned Capture</source>
        <translation>Pinned Capture</translation>
    </message>
    <message>
        <source>Reopen the editable capture saved when this image was pinned</source>
        <translation>Reopen the editable capture saved when this image was pinned</translation>
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
    <name>CaptureRecentList</name>
    <message>
        <source>Remove from History</source>
        <translation>Remove from History</translation>
    </message>
    <message>
        <source>This recent image is unavailable.</source>
        <translation>This recent image is unavailable.</translation>
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
    <name>CaptureSaveFolderFailure</name>
    <message>
        <source>No folder is chosen for automatic saves. Choose one in Capture Settings.</source>
        <translation>No folder is chosen for automatic saves. Choose one in Capture Settings.</translation>
    </message>
    <message>
        <source>The folder for automatic saves is not a full path. Choose one in Capture Settings.</source>
        <translation>The folder for automatic saves is not a full path. Choose one in Capture Settings.</translation>
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
    <name>CaptureSession</name>
    <message>
        <source>Release modifier keys and try again</source>
        <translation>Release modifier keys and try again</translation>
    </message>
    <message>
        <source>No text found — clipboard unchanged</source>
        <translation>No text found — clipboard unchanged</translation>
    </message>
    <message>
        <source>Text copied to clipboard</source>
        <translation>Text copied to clipboard</translation>
    </message>
    <message>
        <source>Recognized text copied</source>
        <translation>Recognized text copied</translation>
    </message>
    <message>
        <source>Thumbnail shortcut unavailable; click the thumbnail to edit.</source>
        <translation>Thumbnail shortcut unavailable; click the thumbnail to edit.</translation>
    </message>
</context>
<context>
    <name>CaptureSettingsView</name>
    <message>
        <source>Start Tavimo Capture at login</source>
        <translation>Start Tavimo Capture at login</translation>
    </message>
    <message>
        <source>Copy image to clipboard</source>
        <translation>Copy image to clipboard</translation>
    </message>
    <message>
        <source>Save automatically</source>
        <translation>Save automatically</translation>
    </message>
    <message>
        <source>Folder</source>
        <translation>Folder</translation>
    </message>
    <message>
        <source>Show thumbnail</source>
        <translation>Show thumbnail</translation>
    </message>
    <message>
        <source>Capture Settings</source>
        <translation>Capture Settings</translation>
    </message>
    <message>
        <source>After capturing</source>
        <translation>After capturing</translation>
    </message>
    <message>
        <source>Saved inside a dated folder. Existing captures are never overwritten.</source>
        <translation>Saved inside a dated folder. Existing captures are never overwritten.</translation>
    </message>
    <message>
        <source>Open editor</source>
        <translation>Open editor</translation>
    </message>
    <message>
        <source>Thumbnail</source>
        <translation>Thumbnail</translation>
    </message>
    <message>
        <source>Thumbnail shortcut</source>
        <translation>Thumbnail shortcut</translation>
    </message>
    <message>
        <source>The shortcut is active only while the thumbnail is visible. Hover to pause. With From thumbnail, click to edit this capture; Never shows a preview only. Text capture uses its own clipboard workflow.</source>
        <translation>The shortcut is active only while the thumbnail is visible. Hover to pause. With From thumbnail, click to edit this capture; Never shows a preview only. Text capture uses its own clipboard workflow.</translation>
    </message>
    <message>
        <source>Show for %1 seconds</source>
        <translation>Show for %1 seconds</translation>
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
    <name>CaptureSidebar</name>
    <message>
        <source>tavimo Capture</source>
        <translation>tavimo Capture</translation>
    </message>
    <message>
        <source>Open Image…</source>
        <translation>Open Image…</translation>
    </message>
    <message>
        <source>Keep last 20 exports</source>
        <translation>Keep last 20 exports</translation>
    </message>
    <message>
        <source>Recent</source>
        <translation>Recent</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>Settings…</source>
        <translation>Settings…</translation>
    </message>
    <message>
        <source>Local by design</source>
        <translation>Local by design</translation>
    </message>
    <message>
        <source>Images you copy, save or pin appear here.</source>
        <translation>Images you copy, save or pin appear here.</translation>
    </message>
</context>
<context>
    <name>CaptureThumbnail</name>
    <message>
        <source>Click to edit</source>
        <translation>Click to edit</translation>
    </message>
    <message>
        <source>Click or %1 to edit</source>
        <translation>Click or %1 to edit</translation>
    </message>
    <message>
        <source>Edit the capture thumbnail</source>
        <translation>Edit the capture thumbnail</translation>
    </message>
</context>
<context>
    <name>CaptureThumbnailShortcut</name>
    <message>
        <source>Off</source>
        <translation>Off</translation>
    </message>
</context>
<context>
    <name>CaptureThumbnailWindow</name>
    <message>
        <source>Capture Thumbnail</source>
        <translation>Capture Thumbnail</translation>
    </message>
</context>
<context>
    <name>CaptureToastWindow</name>
    <message>
        <source>Tavimo Capture Notice</source>
        <translation>Tavimo Capture Notice</translation>
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
    <message>
        <source>px</source>
        <translation>px</translation>
    </message>
    <message>
        <source>Color</source>
        <translation>Color</translation>
    </message>
    <message>
        <source>Line width</source>
        <translation>Line width</translation>
    </message>
    <message>
        <source>Visual effect only. Use Black redaction or Secure mosaic for sensitive information.</source>
        <translation>Visual effect only. Use Black redaction or Secure mosaic for sensitive information.</translation>
    </message>
    <message>
        <source>Select an annotation to change its color, shape or text.</source>
        <translation>Select an annotation to change its color, shape or text.</translation>
    </message>
    <message>
        <source>Appearance</source>
        <translation>Appearance</translation>
    </message>
    <message>
        <source>Outside opacity</source>
        <translation>Outside opacity</translation>
    </message>
    <message>
        <source>Hold Shift to draw a square or circle. Use Select and the corner handles to adjust the area afterward.</source>
        <translation>Hold Shift to draw a square or circle. Use Select and the corner handles to adjust the area afterward.</translation>
    </message>
    <message>
        <source>Brush</source>
        <translation>Brush</translation>
    </message>
    <message>
        <source>Opacity</source>
        <translation>Opacity</translation>
    </message>
    <message>
        <source>Oval lens</source>
        <translation>Oval lens</translation>
    </message>
    <message>
        <source>Outline width</source>
        <translation>Outline width</translation>
    </message>
    <message>
        <source>Outline</source>
        <translation>Outline</translation>
    </message>
    <message>
        <source>Draw the source first, then draw the enlarged destination. In Select, drag either area to move it or its corner handles to resize it independently.</source>
        <translation>Draw the source first, then draw the enlarged destination. In Select, drag either area to move it or its corner handles to resize it independently.</translation>
    </message>
    <message>
        <source>Font</source>
        <translation>Font</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Size</translation>
    </message>
    <message>
        <source>pt</source>
        <translation>pt</translation>
    </message>
    <message>
        <source>Text background</source>
        <translation>Text background</translation>
    </message>
    <message>
        <source>Shape</source>
        <translation>Shape</translation>
    </message>
    <message>
        <source>Opaque black permanently hides the covered pixels in exported images.</source>
        <translation>Opaque black permanently hides the covered pixels in exported images.</translation>
    </message>
    <message>
        <source>Opaque mosaic contains no original pixels.</source>
        <translation>Opaque mosaic contains no original pixels.</translation>
    </message>
    <message>
        <source>Block size</source>
        <translation>Block size</translation>
    </message>
    <message>
        <source>Blur radius</source>
        <translation>Blur radius</translation>
    </message>
    <message>
        <source>Drag on the image to crop. Your annotations stay editable.</source>
        <translation>Drag on the image to crop. Your annotations stay editable.</translation>
    </message>
    <message>
        <source>Drag a shape. Hold Shift for a square or circle. Choose outline, fill or spotlight in the inspector.</source>
        <translation>Drag a shape. Hold Shift for a square or circle. Choose outline, fill or spotlight in the inspector.</translation>
    </message>
    <message>
        <source>Select</source>
        <translation>Select</translation>
    </message>
    <message>
        <source>Click an annotation to select it. Drag to move; use arrow handles to reshape.</source>
        <translation>Click an annotation to select it. Drag to move; use arrow handles to reshape.</translation>
    </message>
    <message>
        <source>Arrow</source>
        <translation>Arrow</translation>
    </message>
    <message>
        <source>Drag from tail to tip. Select the arrow to adjust its ends or curve.</source>
        <translation>Drag from tail to tip. Select the arrow to adjust its ends or curve.</translation>
    </message>
    <message>
        <source>Rectangle</source>
        <translation>Rectangle</translation>
    </message>
    <message>
        <source>Oval</source>
        <translation>Oval</translation>
    </message>
    <message>
        <source>Freehand</source>
        <translation>Freehand</translation>
    </message>
    <message>
        <source>Drag to draw. Choose Pen or Highlighter and adjust width in the inspector.</source>
        <translation>Drag to draw. Choose Pen or Highlighter and adjust width in the inspector.</translation>
    </message>
    <message>
        <source>Magnifier</source>
        <translation>Magnifier</translation>
    </message>
    <message>
        <source>First, drag over the source area to magnify.</source>
        <translation>First, drag over the source area to magnify.</translation>
    </message>
    <message>
        <source>Now drag the enlarged destination. Escape cancels. Move and resize both areas independently with Select.</source>
        <translation>Now drag the enlarged destination. Escape cancels. Move and resize both areas independently with Select.</translation>
    </message>
    <message>
        <source>Text</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>Click anywhere to type. Click outside the text to finish.</source>
        <translation>Click anywhere to type. Click outside the text to finish.</translation>
    </message>
    <message>
        <source>Number</source>
        <translation>Number</translation>
    </message>
    <message>
        <source>Click to place the next marker. Add descriptions in the inspector’s legend.</source>
        <translation>Click to place the next marker. Add descriptions in the inspector’s legend.</translation>
    </message>
    <message>
        <source>Redact</source>
        <translation>Redact</translation>
    </message>
    <message>
        <source>Drag over private content, or detect text and click a highlighted region to hide it.</source>
        <translation>Drag over private content, or detect text and click a highlighted region to hide it.</translation>
    </message>
    <message>
        <source>Drag to hide an area with an opaque pixel pattern. Adjust block size in the inspector.</source>
        <translation>Drag to hide an area with an opaque pixel pattern. Adjust block size in the inspector.</translation>
    </message>
    <message>
        <source>Blur</source>
        <translation>Blur</translation>
    </message>
    <message>
        <source>Drag to soften an area. For private content, use Black redaction or Secure mosaic.</source>
        <translation>Drag to soften an area. For private content, use Black redaction or Secure mosaic.</translation>
    </message>
    <message>
        <source>Drag to pixelate the image. This visual effect is not secure redaction.</source>
        <translation>Drag to pixelate the image. This visual effect is not secure redaction.</translation>
    </message>
    <message>
        <source>Crop</source>
        <translation>Crop</translation>
    </message>
    <message>
        <source>Drag to keep an area. Use Undo to restore the previous crop.</source>
        <translation>Drag to keep an area. Use Undo to restore the previous crop.</translation>
    </message>
</context>
<context>
    <name>CaptureToolButton</name>
    <message>
        <source>%1 (%2)</source>
        <comment>tool title and the key that picks it</comment>
        <translation>%1 (%2)</translation>
    </message>
</context>
<context>
    <name>CaptureUsageFailure</name>
    <message>
        <source>Unexpected argument &quot;%1&quot;; a file goes after --open or --output.</source>
        <translation>Unexpected argument &quot;%1&quot;; a file goes after --open or --output.</translation>
    </message>
    <message>
        <source>Choose only one of --area, --text, --screen, --all-displays, --editor and --open.</source>
        <translation>Choose only one of --area, --text, --screen, --all-displays, --editor and --open.</translation>
    </message>
    <message>
        <source>--output works only with --area, --screen or --all-displays.</source>
        <translation>--output works only with --area, --screen or --all-displays.</translation>
    </message>
    <message>
        <source>--overwrite works only with --output.</source>
        <translation>--overwrite works only with --output.</translation>
    </message>
    <message>
        <source>--delay works only with --area, --text, --screen or --all-displays.</source>
        <translation>--delay works only with --area, --text, --screen or --all-displays.</translation>
    </message>
    <message>
        <source>--delay needs a whole number of seconds from 0 to %1, not &quot;%2&quot;.</source>
        <translation>--delay needs a whole number of seconds from 0 to %1, not &quot;%2&quot;.</translation>
    </message>
    <message>
        <source>%1 needs a file name.</source>
        <translation>%1 needs a file name.</translation>
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
    <message>
        <source>Capture Area or Window</source>
        <translation>Capture Area or Window</translation>
    </message>
    <message>
        <source>Select an area or window, add your notes,
and copy a finished image.</source>
        <translation>Select an area or window, add your notes,
and copy a finished image.</translation>
    </message>
    <message>
        <source>A clear way to show it.</source>
        <translation>A clear way to show it.</translation>
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
    <name>CaptureWorkspaceHeader</name>
    <message>
        <source>Arrange images independently or edit the selected image</source>
        <translation>Arrange images independently or edit the selected image</translation>
    </message>
    <message>
        <source>Copy Image</source>
        <translation>Copy Image</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Save As…</source>
        <translation>Save As…</translation>
    </message>
    <message>
        <source>Edit image</source>
        <translation>Edit image</translation>
    </message>
    <message>
        <source>Arrange</source>
        <translation>Arrange</translation>
    </message>
    <message>
        <source>Add capture</source>
        <translation>Add capture</translation>
    </message>
    <message>
        <source>Append another image to this screenshot</source>
        <translation>Append another image to this screenshot</translation>
    </message>
    <message>
        <source>Image file…</source>
        <translation>Image file…</translation>
    </message>
    <message>
        <source>Save options</source>
        <translation>Save options</translation>
    </message>
    <message>
        <source>Edit capture</source>
        <translation>Edit capture</translation>
    </message>
    <message>
        <source>%1 × %2 pixels</source>
        <translation>%1 × %2 pixels</translation>
    </message>
    <message>
        <source>Ready when you are</source>
        <translation>Ready when you are</translation>
    </message>
    <message>
        <source>Capture, annotate and share</source>
        <translation>Capture, annotate and share</translation>
    </message>
</context>
<context>
    <name>FeedbackMenuItems</name>
    <message>
        <source>Send feedback…</source>
        <translation>Send feedback…</translation>
    </message>
    <message>
        <source>Report a bug…</source>
        <translation>Report a bug…</translation>
    </message>
</context>
<context>
    <name>ScreenCaptureOptions</name>
    <message>
        <source>Unsupported image format: %1</source>
        <translation>Unsupported image format: %1</translation>
    </message>
    <message>
        <source>-i and -m cannot be combined.</source>
        <translation>-i and -m cannot be combined.</translation>
    </message>
    <message>
        <source>Give exactly one output file.</source>
        <translation>Give exactly one output file.</translation>
    </message>
    <message>
        <source>Usage: tavimo-screencapture [-x] [-t png] [-i [-o] [-s] | -m] file.png
Without -i the main display is captured.</source>
        <translation>Usage: tavimo-screencapture [-x] [-t png] [-i [-o] [-s] | -m] file.png
Without -i the main display is captured.</translation>
    </message>
</context>
<context>
    <name>ScreenCaptureTool</name>
    <message>
        <source>Could not write %1: %2</source>
        <translation>Could not write %1: %2</translation>
    </message>
    <message>
        <source>The screen could not be read.</source>
        <translation>The screen could not be read.</translation>
    </message>
    <message>
        <source>Cannot open the X display; the screenshot tool needs X11.</source>
        <translation>Cannot open the X display; the screenshot tool needs X11.</translation>
    </message>
</context>
<context>
    <name>SupportSettingsFooter</name>
    <message>
        <source>This build sends no usage statistics.</source>
        <translation>This build sends no usage statistics.</translation>
    </message>
    <message>
        <source>Share usage statistics</source>
        <translation>Share usage statistics</translation>
    </message>
    <message>
        <source>Include approximate city</source>
        <translation>Include approximate city</translation>
    </message>
    <message>
        <source>About usage statistics and privacy</source>
        <translation>About usage statistics and privacy</translation>
    </message>
    <message>
        <source>Send feedback…</source>
        <translation>Send feedback…</translation>
    </message>
    <message>
        <source>Usage &amp; privacy</source>
        <translation>Usage &amp; privacy</translation>
    </message>
    <message>
        <source>Usage statistics and approximate city are enabled by default. Your choices are saved independently in each app and preserved across updates.</source>
        <translation>Usage statistics and approximate city are enabled by default. Your choices are saved independently in each app and preserved across updates.</translation>
    </message>
    <message>
        <source>Usage includes feature names, app and system versions, architecture, memory class and a random installation identifier. No account, files, audio, text, clipboard or terminal content is collected. Turning it off clears pending events and resets the identifier.</source>
        <translation>Usage includes feature names, app and system versions, architecture, memory class and a random installation identifier. No account, files, audio, text, clipboard or terminal content is collected. Turning it off clears pending events and resets the identifier.</translation>
    </message>
    <message>
        <source>City and country are estimated from the network connection, without GPS. Reports are sent only when you choose Send and do not include the installation identifier or city.</source>
        <translation>City and country are estimated from the network connection, without GPS. Reports are sent only when you choose Send and do not include the installation identifier or city.</translation>
    </message>
    <message>
        <source>Privacy policy</source>
        <translation>Privacy policy</translation>
    </message>
</context>
<context>
    <name>SupportWindow</name>
    <message>
        <source>Feedback</source>
        <translation>Feedback</translation>
    </message>
</context>
<context>
    <name>UpdatePrompt</name>
    <message>
        <source>%1 %2 is available; you have %3. The update installs once no capture is open, and the app restarts.</source>
        <translation>%1 %2 is available; you have %3. The update installs once no capture is open, and the app restarts.</translation>
    </message>
    <message>
        <source>Software Update</source>
        <translation>Software Update</translation>
    </message>
    <message>
        <source>A new version of %1 is available.</source>
        <translation>A new version of %1 is available.</translation>
    </message>
    <message>
        <source>Install Update</source>
        <translation>Install Update</translation>
    </message>
    <message>
        <source>Remind Me Later</source>
        <translation>Remind Me Later</translation>
    </message>
    <message>
        <source>Skip This Version</source>
        <translation>Skip This Version</translation>
    </message>
</context>
<context>
    <name>UpdateSettingsWindow</name>
    <message>
        <source>Update Settings</source>
        <translation>Update Settings</translation>
    </message>
</context>
<context>
    <name>UpdaterError</name>
    <message>
        <source>The update feed could not be read.</source>
        <translation>The update feed could not be read.</translation>
    </message>
    <message>
        <source>No newer version is available.</source>
        <translation>No newer version is available.</translation>
    </message>
    <message>
        <source>The update feed could not be downloaded. Check your internet connection and try again.</source>
        <translation>The update feed could not be downloaded. Check your internet connection and try again.</translation>
    </message>
    <message>
        <source>The update feed is larger than expected and was not read.</source>
        <translation>The update feed is larger than expected and was not read.</translation>
    </message>
    <message>
        <source>The update is not offered over a secure connection, so it was not downloaded.</source>
        <translation>The update is not offered over a secure connection, so it was not downloaded.</translation>
    </message>
    <message>
        <source>The app&apos;s folder cannot be written, so updates cannot be installed here.</source>
        <translation>The app&apos;s folder cannot be written, so updates cannot be installed here.</translation>
    </message>
    <message>
        <source>The update could not be stored in a temporary file. Check the available disk space.</source>
        <translation>The update could not be stored in a temporary file. Check the available disk space.</translation>
    </message>
    <message>
        <source>The update could not be downloaded. Check your internet connection and try again.</source>
        <translation>The update could not be downloaded. Check your internet connection and try again.</translation>
    </message>
    <message>
        <source>The update is larger than announced and was not downloaded.</source>
        <translation>The update is larger than announced and was not downloaded.</translation>
    </message>
    <message>
        <source>The update is not signed, so it was not installed.</source>
        <translation>The update is not signed, so it was not installed.</translation>
    </message>
    <message>
        <source>The update&apos;s signature does not match, so it was not installed.</source>
        <translation>The update&apos;s signature does not match, so it was not installed.</translation>
    </message>
    <message>
        <source>The downloaded update is incomplete or has the wrong size, so it was not installed.</source>
        <translation>The downloaded update is incomplete or has the wrong size, so it was not installed.</translation>
    </message>
    <message>
        <source>The downloaded update is not a program, so it was not installed.</source>
        <translation>The downloaded update is not a program, so it was not installed.</translation>
    </message>
    <message>
        <source>The update could not be written beside the app. Check that its folder is writable and has free space.</source>
        <translation>The update could not be written beside the app. Check that its folder is writable and has free space.</translation>
    </message>
    <message>
        <source>The update installation was cancelled.</source>
        <translation>The update installation was cancelled.</translation>
    </message>
    <message>
        <source>The update installation was postponed.</source>
        <translation>The update installation was postponed.</translation>
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
