#include "settings/SettingsCatalogue.h"

namespace {

using Row = PropertyClass::Definition;

constexpr auto Boolean = PropertyClass::Boolean;
constexpr auto IntegerRange = PropertyClass::IntegerRange;
constexpr auto String = PropertyClass::String;
constexpr auto FileName = PropertyClass::FileName;
constexpr auto StringList = PropertyClass::StringList;
constexpr auto DirPath = PropertyClass::DirPath;
constexpr auto Enumeration = PropertyClass::Enumeration;
constexpr auto Font = PropertyClass::Font;

const char *const Internal = "(Internal)";
const char *const Env = "Environment";
const char *const Editor = "Text Editor";
const char *const Building = "Building";
const char *const Debugging = "Debugging";
const char *const Internet = "Internet";
const char *const Control = "Source Control";
const char *const Targets = "Target";
const char *const ARM = "ARM";

const char *const ui = "User Interface Options";
const char *const window = "Window Options";
const char *const statusBar = "Status Bar Options";
const char *const callStack = "Call Stack Options";
const char *const explorer = "Project Explorer Options";
const char *const outline = "Outline Options";
const char *const editing = "Editing Options";
const char *const visual = "Visual Appearance Options";
const char *const cursor = "Cursor Options";
const char *const findOptions = "Find Options";
const char *const margins = "Margin Options";
const char *const printing = "Print Options";
const char *const buildOptions = "Build Options";
const char *const debugger = "Debugger Options";
const char *const disassembly = "Disassembly Options";
const char *const dataTips = "Extended Data Tips Options";
const char *const scc = "Source Control Options";
const char *const transcript = "Transcript Options";
const char *const clipboard = "Clipboard Ring Options";
const char *const internet = "Internet Options";
const char *const browser = "Browser Options";
const char *const packages = "Package Options";
const char *const directories = "Directory Options";
const char *const startup = "Startup Options";
const char *const documents = "Document Options";
const char *const connection = "Target Connection Options";
const char *const compatibility = "Compatibility Options";

// Every environment's settings, in catalogue order.
// name, type, page, group, short title, long description, default, choices, minimum, maximum, suffix, special value
const Row environmentRows[] = {
    {"Environment/Main Window/State", String, Internal, {}, "Main Window State", "The saved layout of the main window's docked windows."},
    {"Environment/Main Window/Geometry", String, Internal, {}, "Main Window Geometry", "The saved position and size of the main window."},
    {"Environment/Main Window/Toolbar State", String, Internal, {}, "Toolbar State", "The saved layout of the toolbars."},
    {"Environment/Bookmarks", StringList, Internal, {}, "Bookmarks", "The bookmarks set in documents."},
    {"Text Editor/Code Templates", StringList, Internal, {}, "Code Templates", "The code templates that the editor can expand."},
    {"Text Editor/Color Scheme", StringList, Internal, {}, "Color Scheme", "The colors used to show the kinds of source text."},
    {"Environment/Error Display Timeout", IntegerRange, Env, ui, "Error Display Timeout", "How long an error message stays in the status bar.", {}, {}, 0, 60, "seconds", "None"},
    {"Text Editor/Backup File Depth", IntegerRange, Editor, editing, "Backup File History Depth", "The number of backup copies kept when a file is saved.", 0, {}, 0, 10},
    {"Environment/Output Window View", Enumeration, Internal, {}, "Output Window View", "The pane shown in the output window.", "Transcript", {"Transcript", "Tasks", "Find Results"}},
    {"Environment/Splash Screen", Boolean, Env, startup, "Splash Screen", "Show the splash screen on startup.", true},
    {"Environment/Macros/Global Macros", StringList, Building, buildOptions, "Global Macros", "Macro definitions (name=value) that apply to every project."},
    {"Environment/Max Window Menu Items", IntegerRange, Env, window, "Window Menu Size", "The number of windows listed in the Window menu.", 10, {}, 1, 50},
    {"Environment/Call Stack/Show Parameter Names", Boolean, Debugging, callStack, "Show Parameter Names", "Show the names of parameters in the call stack.", true},
    {"Environment/Call Stack/Show Parameter Values", Boolean, Debugging, callStack, "Show Parameter Values", "Show the values of parameters in the call stack.", true},
    {"Environment/Call Stack/Show Parameter Types", Boolean, Debugging, callStack, "Show Parameter Types", "Show the types of parameters in the call stack.", false},
    {"Environment/Call Stack/Show Call Location", Boolean, Debugging, callStack, "Show Call Source Location", "Show the source location of each call.", true},
    {"Environment/Call Stack/Show Call Address", Boolean, Debugging, callStack, "Show Call Address", "Show the address of each call.", false},
    {"Environment/Startup Action", Enumeration, Env, startup, "Startup Action", "What happens when the environment starts.", "Show Home Page", {"None", "Show Home Page", "Load Last Solution"}},
    {"Environment/Permit Multiple Studio Instances", Boolean, Env, startup, "Allow Multiple Instances", "Allow more than one copy of the environment to run.", false},
    {"Text Editor/HScroll Bar", Boolean, Editor, visual, "Horizontal Scroll Bar", "Show a horizontal scroll bar in editors.", true},
    {"Text Editor/VScroll Bar", Boolean, Editor, visual, "Vertical Scroll Bar", "Show a vertical scroll bar in editors.", true},
    {"Text Editor/Mini Toolbar", Boolean, Editor, visual, "Mini Toolbar", "Show the mini toolbar in editors.", true},
    {"Text Editor/Copy On Mouse Select", Boolean, Editor, editing, "Copy On Mouse Select", "Copy text to the clipboard when it is selected with the mouse.", false},
    {"Text Editor/Paste On Mouse Middle Button", Boolean, Editor, editing, "Paste On Middle Button", "Paste the clipboard when the middle mouse button is pressed.", false},
    {"Text Editor/Icon Gutter", Boolean, Editor, visual, "Icon Gutter", "Show the gutter for breakpoint and bookmark icons.", true},
    {"Text Editor/Drag Drop Editing", Boolean, Editor, editing, "Drag And Drop Editing", "Allow selected text to be moved by dragging it.", true},
    {"Text Editor/Context Bar", Boolean, Editor, visual, "Context Bar", "Show the bar that names the function at the cursor.", true},
    {"Text Editor/Delete Trailing Space On Save", Boolean, Editor, editing, "Delete Trailing Space On Save", "Remove white space at the ends of lines when a file is saved.", false},
    {"Text Editor/Cleanup Tabs On Save", Boolean, Editor, editing, "Cleanup Tabs On Save", "Replace tabs by spaces when a file is saved.", false},
    {"Text Editor/Column Mode Tab", Boolean, Editor, editing, "Column Mode Tab", "Tab moves the cursor to the next column of the line above.", false},
    {"Text Editor/Spell Checking", Boolean, Editor, editing, "Spell Checking", "Check the spelling of comments and strings.", false},
    {"Text Editor/Enable Popup Diagnostics", Boolean, Editor, visual, "Popup Diagnostics", "Show build diagnostics in the editor as pop-ups.", true},
    {"Text Editor/Bold Popup Diagnostics", Boolean, Editor, visual, "Bold Popup Diagnostics", "Show the text of diagnostic pop-ups in bold.", false},
    {"Text Editor/Diagnostic Cycle Mode", Enumeration, Editor, visual, "Diagnostic Cycle Mode", "Which diagnostics the next and previous commands visit.", "Errors and Warnings", {"Errors and Warnings", "Errors Only"}},
    {"Environment/Status Bar", Boolean, Env, statusBar, "Status Bar", "Show the status bar.", true},
    {"Environment/General/Status Bar/Show Target", Boolean, Env, statusBar, "Show Target", "Show the connected target in the status bar.", true},
    {"Environment/General/Status Bar/Show Build Status", Boolean, Env, statusBar, "Show Build Status", "Show the build status in the status bar.", true},
    {"Environment/General/Status Bar/Show Insert Mode", Boolean, Env, statusBar, "Show Insert Mode", "Show the insert or overwrite mode in the status bar.", true},
    {"Environment/General/Status Bar/Show Caret Pos", Boolean, Env, statusBar, "Show Caret Position", "Show the line and column of the cursor in the status bar.", true},
    {"Environment/General/Status Bar/Show Read Only", Boolean, Env, statusBar, "Show Read-Only State", "Show whether the document is read-only in the status bar.", true},
    {"Environment/General/Status Bar/Show Caps Lock", Boolean, Env, statusBar, "Show Caps Lock", "Show the Caps Lock state in the status bar.", false},
    {"Environment/General/Status Bar/Show Num Lock", Boolean, Env, statusBar, "Show Num Lock", "Show the Num Lock state in the status bar.", false},
    {"Environment/General/Status Bar/Show Scroll Lock", Boolean, Env, statusBar, "Show Scroll Lock", "Show the Scroll Lock state in the status bar.", false},
    {"Environment/General/Status Bar/Show Time", Boolean, Env, statusBar, "Show Time", "Show the time of day in the status bar.", false},
    {"Environment/General/Status Bar/Show Size Grip", Boolean, Env, statusBar, "Show Size Grip", "Show the size grip at the corner of the status bar.", true},
    {"Environment/Size Display Unit", Enumeration, Env, ui, "Size Display Unit", "How memory sizes are shown.", "Bytes", {"Bytes", "Kilobytes", "Kibibytes"}},
    {"Environment/General/Large Icons", Boolean, Env, ui, "Large Icons", "Show large icons on toolbars.", false},
    {"Environment/Error Display Mode", Enumeration, Env, ui, "Error Display Mode", "Where error messages are shown.", "Status Bar", {"Status Bar", "Message Box"}},
    {"Environment/Number Menus", Boolean, Env, ui, "Number Menu Items", "Number the items of recent file menus.", true},
    {"Environment/Show Selector", Boolean, Env, ui, "Show Selector", "Show the window selector when switching windows.", true},
    {"Text Editor/Highlight Cursor Line", Boolean, Editor, visual, "Highlight Cursor Line", "Highlight the line that holds the cursor.", false},
    {"Text Editor/Font", Font, Editor, visual, "Font", "The font used by editors."},
    {"Text Editor/Confirm Modified File Reload", Boolean, Editor, editing, "Confirm Modified File Reload", "Ask before reloading a file that changed on disk.", true},
    {"Environment/Application Main Font", Font, Env, ui, "Application Main Font", "The font used by windows and dialogs."},
    {"Environment/Application Monospace Font", Font, Env, ui, "Application Monospace Font", "The fixed-pitch font used by windows."},
    {"Environment/Project Explorer/Sync Editor", Boolean, Env, explorer, "Synchronize With Editor", "Select the file of the active editor in the project explorer.", false},
    {"Environment/Project Explorer/Statistics Display", Enumeration, Env, explorer, "Statistics Display", "How code and data sizes are shown.", "Combined", {"None", "Separate", "Combined"}},
    {"Environment/Project Explorer/Statistics Format", Enumeration, Env, explorer, "Statistics Format", "The number format of code and data sizes.", "Decimal", {"Decimal", "Hexadecimal"}},
    {"Environment/Project Explorer/Statistics Read-Only Data Handling", Enumeration, Env, explorer, "Read-Only Data Handling", "Whether read-only data counts as code or data.", "Code", {"Code", "Data"}},
    {"Environment/Project Explorer/Dependencies Display", Enumeration, Env, explorer, "Dependencies Display", "How file dependencies are shown.", "Hidden", {"Hidden", "Flat", "Tree"}},
    {"Environment/Project Explorer/Properties Display", Enumeration, Env, explorer, "Properties Display", "How properties of nodes are shown.", "Hidden", {"Hidden", "Column"}},
    {"Environment/Project Explorer/Common Properties Display", Enumeration, Env, explorer, "Common Properties Display", "How properties common to all configurations are shown.", "Hidden", {"Hidden", "Column"}},
    {"Environment/Project Explorer/Show Output Files", Boolean, Env, explorer, "Show Output Files", "Show the output files of each project.", true},
    {"Environment/Project Explorer/Show Source Code Control Status", Boolean, Env, explorer, "Show Source Control Status", "Show the source control status of files.", true},
    {"Environment/Windows/Show Sizes", Boolean, Env, window, "Show Sizes", "Show sizes in the windows that list symbols.", true},
    {"Environment/Windows/Grouping", Boolean, Env, window, "Group Windows", "Group the windows that list symbols by kind.", true},
    {"Environment/Windows/Show Filename Tooltips", Boolean, Env, window, "Show File Name Tooltips", "Show the full file name in tooltips.", true},
    {"Text Editor/Numeric Keypad Enabled", Boolean, Editor, editing, "Numeric Keypad Editing", "Use the numeric keypad for clipboard commands.", false},
    {"Windows/Outline/Preview Refresh Mode", Enumeration, Env, outline, "Preview Refresh Mode", "When the outline window refreshes its preview.", "Automatic", {"Automatic", "Manual"}},
    {"Windows/Outline/Group Defines", Boolean, Env, outline, "Group Defines", "Group preprocessor definitions in the outline.", true},
    {"Windows/Outline/Group Ifs", Boolean, Env, outline, "Group Conditionals", "Group conditional sections in the outline.", true},
    {"Windows/Outline/Group Includes", Boolean, Env, outline, "Group Includes", "Group included files in the outline.", true},
    {"Windows/Outline/Group Visibility", Boolean, Env, outline, "Group By Visibility", "Group class members by visibility in the outline.", false},
    {"Windows/Outline/Group Top Level Items", Boolean, Env, outline, "Group Top Level Items", "Group the top-level items of the outline by kind.", false},
    {"Text Editor/Cut Action", Enumeration, Editor, editing, "Cut Without Selection", "What Cut does when nothing is selected.", "Cut Line", {"Cut Line", "Do Nothing"}},
    {"Text Editor/Copy Action", Enumeration, Editor, editing, "Copy Without Selection", "What Copy does when nothing is selected.", "Copy Line", {"Copy Line", "Do Nothing"}},
    {"Environment/Project Explorer/Filename Replace Macros", StringList, Env, explorer, "Filename Replace Macros", "Macros (system and global) used to replace the start of a filename on project file addition."},
    {"Text Editor/Hide Cursor When Typing", Boolean, Editor, cursor, "Hide Mouse Cursor When Typing", "Hide the mouse pointer while typing.", false},
    {"Text Editor/Ibeam cursor", Boolean, Editor, cursor, "I-Beam Cursor", "Show the mouse pointer as an I-beam over text.", true},
    {"Text Editor/Auto Expand Templates", Boolean, Editor, editing, "Auto Expand Templates", "Expand a code template as soon as its name is typed.", false},
    {"Text Editor/Enable Virtual Space", Boolean, Editor, cursor, "Virtual Space", "Allow the cursor beyond the end of a line.", false},
    {"Text Editor/Insert Caret Style", Enumeration, Editor, cursor, "Insert Caret Style", "The shape of the cursor in insert mode.", "Vertical Line", {"Vertical Line", "Underscore", "Block"}},
    {"Text Editor/Overwrite Caret Style", Enumeration, Editor, cursor, "Overwrite Caret Style", "The shape of the cursor in overwrite mode.", "Block", {"Vertical Line", "Underscore", "Block"}},
    {"Text Editor/Line Number Mode", Enumeration, Editor, visual, "Line Numbers", "Which lines show their number.", "Off", {"Off", "Every Line", "Every 5th Line", "Every 10th Line"}},
    {"Text Editor/Mate Matching Mode", Enumeration, Editor, visual, "Bracket Matching", "How matching brackets are shown.", "Highlight", {"Off", "Highlight", "Flash"}},
    {"Text Editor/Diagnostic Icons", Enumeration, Editor, visual, "Diagnostic Icons", "Where diagnostic icons are shown.", "Gutter", {"Off", "Gutter", "Margin"}},
    {"Text Editor/Edit Read Only", Boolean, Editor, editing, "Edit Read-Only Files", "Allow read-only files to be changed in the editor.", false},
    {"Text Editor/Undo Mode", Enumeration, Editor, editing, "Undo And Redo Behavior", "How typing is grouped for undo.", "Grouped", {"Single Step", "Grouped"}},
    {"Text Editor/Find/History", StringList, Internal, {}, "Find History", "Texts searched for recently."},
    {"Text Editor/Replace/History", StringList, Internal, {}, "Replace History", "Replacement texts used recently."},
    {"Text Editor/Find/Match Whole Word", Boolean, Internal, {}, "Match Whole Word", "Find whole words only.", false},
    {"Text Editor/Find/Match Case", Boolean, Internal, {}, "Match Case", "Find text with the same case only.", false},
    {"Text Editor/Find/Use RegExp", Boolean, Internal, {}, "Use Regular Expression", "Find text by regular expression.", false},
    {"Text Editor/Margins/Enabled", Boolean, Editor, margins, "Show Margins", "Show the left and right margins.", false},
    {"Text Editor/Margins/Left", IntegerRange, Editor, margins, "Left Margin", "The left margin.", 0, {}, 0, 200, "characters"},
    {"Text Editor/Margins/Right", IntegerRange, Editor, margins, "Right Margin", "The right margin.", 80, {}, 0, 200, "characters"},
    {"Text Editor/Margins/Top", IntegerRange, Editor, margins, "Top Margin", "The top margin.", 0, {}, 0, 200, "lines"},
    {"Text Editor/Margins/Bottom", IntegerRange, Editor, margins, "Bottom Margin", "The bottom margin.", 0, {}, 0, 200, "lines"},
    {"Find In Files/Find History", StringList, Internal, {}, "Find In Files History", "Texts searched for in files recently."},
    {"Find In Files/Replace History", StringList, Internal, {}, "Replace In Files History", "Replacement texts used in files recently."},
    {"Find In Files/File Type", StringList, Internal, {}, "File Types", "File name patterns searched recently.", "*.c;*.cpp;*.h;*.s"},
    {"Find In Files/Folder History", StringList, Internal, {}, "Folder History", "Folders searched recently."},
    {"Find In Files/Match Whole Word", Boolean, Internal, {}, "Match Whole Word", "Find whole words only.", false},
    {"Find In Files/Match Case", Boolean, Internal, {}, "Match Case", "Find text with the same case only.", false},
    {"Find In Files/Use RegExp", Boolean, Internal, {}, "Use Regular Expression", "Find text by regular expression.", false},
    {"Find In Files/Context", Enumeration, Internal, {}, "Search Context", "Where files are searched.", "Current Project", {"Current Document", "Open Documents", "Current Project", "Solution", "Folder"}},
    {"Environment/General/Solution Directory", StringList, Internal, {}, "Solution Directories", "Directories in which solutions were created recently."},
    {"Environment/General/Project Templates", String, Env, startup, "Project Templates File", "The file that lists the project templates.", "$(TargetsDir)/project_templates.xml"},
    {"Environment/Printing/Left Margin", IntegerRange, Env, printing, "Left Margin", "The left margin of printed pages.", 10, {}, 0, 100, "millimeters"},
    {"Environment/Printing/Right Margin", IntegerRange, Env, printing, "Right Margin", "The right margin of printed pages.", 10, {}, 0, 100, "millimeters"},
    {"Environment/Printing/Top Margin", IntegerRange, Env, printing, "Top Margin", "The top margin of printed pages.", 10, {}, 0, 100, "millimeters"},
    {"Environment/Printing/Bottom Margin", IntegerRange, Env, printing, "Bottom Margin", "The bottom margin of printed pages.", 10, {}, 0, 100, "millimeters"},
    {"Environment/Printing/Orientation", Enumeration, Env, printing, "Orientation", "The orientation of printed pages.", "Portrait", {"Portrait", "Landscape"}},
    {"Environment/Printing/Page Size", Enumeration, Env, printing, "Page Size", "The size of printed pages.", "A4", {"A4", "A3", "A5", "Letter", "Legal"}},
    {"Environment/Build/Tool Chain Root Directory", String, Building, buildOptions, "Tool Chain Root Directory", "The directory that holds the tool chain.", "$(StudioDir)"},
    {"Environment/Build/Confirm Debugger Stop", Boolean, Building, buildOptions, "Confirm Debugger Stop", "Ask before a build stops the debugger.", true},
    {"Environment/Build/Show Command Lines", Boolean, Building, buildOptions, "Echo Command Lines", "Show each build command line in the transcript.", false},
    {"Environment/Build/Show Unparsed Error Output", Boolean, Building, buildOptions, "Show Unparsed Error Output", "Show tool output that is not a diagnostic.", true},
    {"Environment/Build/Build Before Debug", Boolean, Building, buildOptions, "Build Before Debug", "Build the project before debugging starts.", true},
    {"Environment/Build/Find Error After Build", Boolean, Building, buildOptions, "Find Error After Build", "Show the first error after a failed build.", false},
    {"Environment/Build/Save Project File On Build", Boolean, Building, buildOptions, "Save Project File On Build", "Save the solution before it is built.", false},
    {"Environment/Build/Show Build Information", Boolean, Building, buildOptions, "Show Build Information", "Show the sizes of the built program.", true},
    {"Environment/Debugger/Default Variable Display Mode", Enumeration, Debugging, debugger, "Default Display Mode", "How variables are shown unless chosen otherwise.", "Natural", {"Natural", "Binary", "Octal", "Decimal", "Hexadecimal", "Character"}},
    {"Environment/Debugger/Extended Data Tips", Boolean, Debugging, dataTips, "Extended Data Tips", "Show the members of structured variables in data tips.", true},
    {"Environment/Debugger/Maximum Array Elements Displayed", IntegerRange, Debugging, debugger, "Maximum Array Elements Displayed", "The number of array elements shown.", 1000, {}, 1, 100000},
    {"Environment/Debugger/Maximum Backtrace Calls", IntegerRange, Debugging, callStack, "Maximum Backtrace Calls", "The number of calls shown in the call stack.", 64, {}, 1, 1024},
    {"Environment/Debugger/Array Elements Prompt Size", IntegerRange, Debugging, debugger, "Array Elements Prompt Size", "Ask before showing more array elements than this.", 100, {}, 1, 100000},
    {"Environment/Debugger/Floating Point Format Display", Enumeration, Debugging, debugger, "Floating Point Display Format", "The printf format of floating-point values.", "%g", {"%g", "%e", "%f"}},
    {"Environment/Debugger/Display Char Ptr As String", Boolean, Debugging, debugger, "Display Char * As String", "Show character pointers as the string they point to.", true},
    {"Environment/Debugger/Source Path", StringList, Debugging, debugger, "Source Path", "Directories searched for source files."},
    {"Environment/Debugger/Initial Breakpoint", String, Debugging, debugger, "Initial Breakpoint", "The function at which debugging stops first.", "main"},
    {"Environment/Debugger/Set Initial Breakpoint", Boolean, Debugging, debugger, "Stop At Initial Breakpoint", "Stop at the initial breakpoint when debugging starts.", true},
    {"Environment/Debugger/Clear Disassembly Breakpoint", Boolean, Debugging, disassembly, "Clear Disassembly Breakpoints", "Clear breakpoints set in the disassembly when debugging stops.", false},
    {"Environment/Debugger/Disassembly Show Labels", Boolean, Debugging, disassembly, "Show Labels", "Show symbol labels in the disassembly.", true},
    {"Environment/Debugger/Close Disassembly On Mode Switch", Boolean, Debugging, disassembly, "Close On Mode Switch", "Close the disassembly when switching to source mode.", false},
    {"Environment/Debugger/Disassembly Show Source", Boolean, Debugging, disassembly, "Show Source", "Show source lines in the disassembly.", true},
    {"Environment/Debugger/Restart Resets Target", Boolean, Debugging, debugger, "Restart Resets Target", "Reset the target when the program is restarted.", true},
    {"Environment/Debugger/Locals Display Registers", Boolean, Debugging, debugger, "Show Register Variables", "Show the registers that hold local variables.", false},
    {"Environment/Debugger/Step Using Hardware Step", Boolean, Debugging, debugger, "Step Using Hardware Step", "Single-step with the target's hardware support.", false},
    {"Environment/Debugger/TLS Expression", String, Debugging, debugger, "Thread-Local Storage Expression", "The expression that gives the current thread's local storage."},
    {"Environment/General/Property View Details", Enumeration, Env, ui, "Property View Details", "How much the properties window shows.", "Normal", {"Normal", "Detailed"}},
    {"Environment/General/Properties Displayed", StringList, Internal, {}, "Properties Displayed", "The properties shown as columns."},
    {"Environment/General/Skin", Enumeration, Env, ui, "Skin", "The look of windows and controls.", "Default", {"Default", "Classic", "Flat"}},
    {"Environment/Source Code Control/Enabled", Boolean, Control, scc, "Enable Source Control", "Use source control for files of the solution.", false},
    {"Environment/Source Code Control/Provider", Enumeration, Control, scc, "Provider", "The source control system in use.", "None", {"None", "Subversion", "CVS"}},
    {"Environment/Source Code Control/InhibitAddDialog", Boolean, Control, scc, "Inhibit Add Dialog", "Add files without asking.", false},
    {"Environment/Source Code Control/InhibitCheckoutDialog", Boolean, Control, scc, "Inhibit Check Out Dialog", "Check files out without asking.", false},
    {"Environment/Source Code Control/InhibitCheckinDialog", Boolean, Control, scc, "Inhibit Check In Dialog", "Check files in without asking.", false},
    {"Environment/Source Code Control/InhibitCheckoutOnEditDialog", Boolean, Control, scc, "Inhibit Check Out On Edit Dialog", "Check a file out on its first change without asking.", false},
    {"Environment/Source Code Control/InhibitGetLatestDialog", Boolean, Control, scc, "Inhibit Get Latest Dialog", "Get the latest versions without asking.", false},
    {"Environment/Source Code Control/InhibitUndoCheckoutDialog", Boolean, Control, scc, "Inhibit Undo Check Out Dialog", "Undo check outs without asking.", false},
    {"Environment/Source Code Control/DiffCommand", String, Control, scc, "Diff Command", "The command that compares two versions of a file."},
    {"Environment/Source Code Control/MergeCommand", String, Control, scc, "Merge Command", "The command that merges two versions of a file."},
    {"Environment/Show Transcript On Build", Boolean, Building, transcript, "Show Transcript On Build", "Show the transcript when a build starts.", true},
    {"Debugging/Show Transcript On Load", Boolean, Debugging, transcript, "Show Transcript On Load", "Show the transcript when a program is loaded.", true},
    {"Debugging/Hide Transcript On Successful Load", Boolean, Debugging, transcript, "Hide Transcript On Successful Load", "Hide the transcript when a program loaded without error.", false},
    {"Environment/Show Debug Terminal", Boolean, Debugging, debugger, "Show Debug Terminal", "Show the debug terminal when the program writes to it.", true},
    {"Environment/Clear Debug Terminal On Run", Boolean, Debugging, debugger, "Clear Debug Terminal On Run", "Clear the debug terminal when the program starts.", true},
    {"Environment/Clipboard Ring/Contents", StringList, Internal, {}, "Clipboard Ring Contents", "The texts held in the clipboard ring."},
    {"Environment/Clipboard Ring/Max Entries", IntegerRange, Env, clipboard, "Maximum Clipboard Ring Entries", "The number of texts the clipboard ring holds.", 20, {}, 1, 100},
    {"Environment/Clipboard Ring/Save", Boolean, Env, clipboard, "Save Clipboard Ring", "Keep the clipboard ring from one session to the next.", true},
    {"Environment/External Web Browser", FileName, Internet, browser, "External Web Browser", "The program that opens web links."},
    {"Environment/Internet/Enable Debugging", Boolean, Internet, internet, "Enable Internet Debugging", "Log internet requests in the transcript.", false},
    {"Environment/Internet/RSS Update", Enumeration, Internet, internet, "News Update", "How often the news feeds are read.", "Daily", {"Never", "On Startup", "Daily", "Weekly"}},
    {"Environment/Internet/RSS Feed List", StringList, Internet, internet, "News Feeds", "The news feeds that are read."},
    {"Environment/Internet/Check Updates", Boolean, Internet, internet, "Check For Updates", "Look for a newer version at startup.", true},
    {"Environment/Internet/Check Packages", Boolean, Internet, internet, "Check For Packages", "Look for new support packages at startup.", true},
    {"Environment/Internet/HTTP Proxy Port", IntegerRange, Internet, internet, "HTTP Proxy Port", "The port of the HTTP proxy server.", 8080, {}, 1, 65535},
    {"Environment/Internet/HTTP Proxy Server", String, Internet, internet, "HTTP Proxy Host", "The HTTP proxy server; none when empty."},
    {"Environment/Internet/Download History", StringList, Internal, {}, "Download History", "Files downloaded recently."},
    {"Environment/Internet/Max Download History Items", IntegerRange, Internet, internet, "Download History Size", "The number of downloads remembered.", 20, {}, 0, 1000},
    {"Environment/Browser/Underline Web Links", Boolean, Internet, browser, "Underline Links", "Underline links in the help browser.", true},
    {"Environment/Browser/Text Size", Enumeration, Internet, browser, "Text Size", "The size of text in the help browser.", "Medium", {"Smallest", "Smaller", "Medium", "Larger", "Largest"}},
    {"Environment/Package/Source Directory", StringList, Env, packages, "Package Source Directories", "Directories searched for support packages."},
    {"Environment/Package/Source URL", String, Env, packages, "Package Source URL", "The address from which support packages are downloaded."},
    {"Environment/Package/Destination Directory", String, Env, packages, "Package Destination Directory", "The directory into which support packages are installed.", "$(StudioUserDir)/packages"},
    {"Environment/General/Quick Open Directories", StringList, Env, directories, "Quick Open Directories", "Directories searched by Quick Open.", "$(StudioDir)/include;$(PackagesDir)/include/targets"},
    {"Environment/General/Document Grouping", Enumeration, Env, documents, "Document Grouping", "How open documents are grouped.", "None", {"None", "Project", "Folder"}},
    {"Environment/General/Document Title Format", Enumeration, Env, documents, "Document Title Format", "What the title of a document window shows.", "File Name", {"File Name", "Full Path", "Relative Path"}},
};

// The settings the development environment adds: the target connection.
const Row lanternwickRows[] = {
    {"Target/Targets", String, Internal, {}, "Targets", "The targets known to the target window."},
    {"Target/Initialised Targets", StringList, Internal, {}, "Initialised Targets", "The targets whose defaults have been set up."},
    {"Target/Auto Connect", Boolean, Targets, connection, "Connect On Startup", "Connect to the last target at startup.", false},
    {"Target/Auto Disconnect", Boolean, Targets, connection, "Disconnect On Exit", "Disconnect from the target when the environment ends.", true},
    {"Target/Identify", Boolean, Targets, connection, "Identify Target", "Identify the target when connecting.", true},
    {"Target/Enable Load Verification", Boolean, Targets, connection, "Verify After Load", "Verify the target's memory after a program is loaded.", true},
    {"Target/Enable Processor Check", Boolean, Targets, connection, "Check Processor", "Check that the target's processor matches the project.", true},
    {"Target/Enable Differential Download", Boolean, Targets, connection, "Differential Download", "Load only what differs from the target's memory.", false},
};

// The settings the ARM development environment adds.
const Row armLanternwickRows[] = {
    {"ARM/Build/Command Line Generation Version", Enumeration, Building, compatibility, "Command Line Generation Version", "The release whose tool command lines are generated.", {}, {"2.0", "1.7", "1.6", "1.5"}},
    {"ARM/Build/StudioDir Directory", DirPath, Building, compatibility, "StudioDir Directory", "The directory that $(StudioDir) names in builds.", "$(StudioDir)"},
    {"ARM/Debug/Default debugIO Implementation", Enumeration, ARM, debugger, "Default DebugIO Implementation", "How debug input and output reach the debugger.", "Breakpoint", {"Breakpoint", "DCC", "Memory Poll"}},
    {"ARM/Debug/UAL Disassemble", Boolean, ARM, disassembly, "Unified Assembler Syntax", "Disassemble in the unified assembler syntax.", true},
};

} // namespace

std::span<const PropertyClass::Definition> environmentCatalogue()
{
    return environmentRows;
}

std::span<const PropertyClass::Definition> lanternwickCatalogue()
{
    return lanternwickRows;
}

std::span<const PropertyClass::Definition> armLanternwickCatalogue()
{
    return armLanternwickRows;
}
