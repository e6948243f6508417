<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>Brivet</name>
    <message>
        <source>Brivet</source>
        <translation>Brivet</translation>
    </message>
    <message>
        <source>ErrorAlertTitle</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>ConfirmLabel</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>UpdateCheckLabel</source>
        <translation>Check for Updates…</translation>
    </message>
    <message>
        <source>Search %1</source>
        <translation>Search %1</translation>
    </message>
    <message>
        <source>Searching…</source>
        <translation>Searching…</translation>
    </message>
    <message>
        <source>Sidebar</source>
        <translation>Sidebar</translation>
    </message>
    <message>
        <source>Papers</source>
        <translation>Papers</translation>
    </message>
    <message>
        <source>Toolbar</source>
        <translation>Toolbar</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>New Window</source>
        <translation>New Window</translation>
    </message>
    <message>
        <source>Close Window</source>
        <translation>Close Window</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Quit</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>About Brivet</source>
        <translation>About Brivet</translation>
    </message>
    <message>
        <source>Brivet %1</source>
        <translation>Brivet %1</translation>
    </message>
    <message>
        <source>Finds scientific papers on arXiv and NASA ADS and keeps them in your own lists, with their PDFs and notes.</source>
        <translation>Finds scientific papers on arXiv and NASA ADS and keeps them in your own lists, with their PDFs and notes.</translation>
    </message>
    <message>
        <source>Notes</source>
        <translation>Notes</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>Search</translation>
    </message>
    <message>
        <source>Search Engines</source>
        <translation>Search Engines</translation>
    </message>
    <message>
        <source>Library</source>
        <translation>Library</translation>
    </message>
    <message>
        <source>Sources</source>
        <translation>Sources</translation>
    </message>
    <message>
        <source>New List</source>
        <translation>New List</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>Content</source>
        <translation>Content</translation>
    </message>
    <message>
        <source>%1%2</source>
        <translation>%1%2</translation>
    </message>
    <message>
        <source>Add To</source>
        <translation>Add To</translation>
    </message>
    <message>
        <source>Add this paper to a list</source>
        <translation>Add this paper to a list</translation>
    </message>
    <message>
        <source>Delete PDF</source>
        <translation>Delete PDF</translation>
    </message>
    <message>
        <source>Delete this paper&apos;s PDF file</source>
        <translation>Delete this paper&apos;s PDF file</translation>
    </message>
    <message>
        <source>Import paper</source>
        <translation>Import paper</translation>
    </message>
    <message>
        <source>Import a paper manually</source>
        <translation>Import a paper manually</translation>
    </message>
    <message>
        <source>Open in Browser</source>
        <translation>Open in Browser</translation>
    </message>
    <message>
        <source>Open this paper in your web browser</source>
        <translation>Open this paper in your web browser</translation>
    </message>
    <message>
        <source>Open PDF</source>
        <translation>Open PDF</translation>
    </message>
    <message>
        <source>Open this paper in your PDF viewer</source>
        <translation>Open this paper in your PDF viewer</translation>
    </message>
    <message>
        <source>Remove from %1</source>
        <translation>Remove from %1</translation>
    </message>
    <message>
        <source>Remove this paper from %1</source>
        <translation>Remove this paper from %1</translation>
    </message>
    <message>
        <source>Take Notes</source>
        <translation>Take Notes</translation>
    </message>
    <message>
        <source>Take notes on this paper</source>
        <translation>Take notes on this paper</translation>
    </message>
    <message numerus="yes">
        <source>%n paper(s)</source>
        <translation>
            <numerusform>%n paper</numerusform>
            <numerusform>%n papers</numerusform>
        </translation>
    </message>
    <message>
        <source>Abstract</source>
        <translation>Abstract</translation>
    </message>
    <message>
        <source>Click to copy</source>
        <translation>Click to copy</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Done</translation>
    </message>
    <message>
        <source>Import to %1</source>
        <translation>Import to %1</translation>
    </message>
    <message>
        <source>Title</source>
        <translation>Title</translation>
    </message>
    <message>
        <source>Required</source>
        <translation>Required</translation>
    </message>
    <message>
        <source>Author</source>
        <translation>Author</translation>
    </message>
    <message>
        <source>Add author</source>
        <translation>Add author</translation>
    </message>
    <message>
        <source>Metadata</source>
        <translation>Metadata</translation>
    </message>
    <message>
        <source>Identifier</source>
        <translation>Identifier</translation>
    </message>
    <message>
        <source>Required, E.g. ArXiv ID</source>
        <translation>Required, E.g. ArXiv ID</translation>
    </message>
    <message>
        <source>Publication Date</source>
        <translation>Publication Date</translation>
    </message>
    <message>
        <source>DOI</source>
        <translation>DOI</translation>
    </message>
    <message>
        <source>Optional</source>
        <translation>Optional</translation>
    </message>
    <message>
        <source>Webpage</source>
        <translation>Webpage</translation>
    </message>
    <message>
        <source>File</source>
        <translation>File</translation>
    </message>
    <message>
        <source>Download URL</source>
        <translation>Download URL</translation>
    </message>
    <message>
        <source>PDF</source>
        <translation>PDF</translation>
    </message>
    <message>
        <source>Select file</source>
        <translation>Select file</translation>
    </message>
    <message>
        <source>At least one of the URL or file must be given here, the URL is the better of the two. The URL must be accessible without authentication.</source>
        <translation>At least one of the URL or file must be given here, the URL is the better of the two. The URL must be accessible without authentication.</translation>
    </message>
    <message>
        <source>Brivet could not save your library: the disk is full.</source>
        <translation>Brivet could not save your library: the disk is full.</translation>
    </message>
    <message>
        <source>Brivet could not save your library: it cannot write to the library folder.</source>
        <translation>Brivet could not save your library: it cannot write to the library folder.</translation>
    </message>
    <message>
        <source>Brivet could not save your library: %1</source>
        <translation>Brivet could not save your library: %1</translation>
    </message>
    <message>
        <source>Your changes are kept and saved as soon as it can.</source>
        <translation>Your changes are kept and saved as soon as it can.</translation>
    </message>
    <message>
        <source>Quit Brivet</source>
        <translation>Quit Brivet</translation>
    </message>
    <message>
        <source>You can try again once the cause is fixed. If you quit now, the changes since the last save are lost.</source>
        <translation>You can try again once the cause is fixed. If you quit now, the changes since the last save are lost.</translation>
    </message>
    <message>
        <source>Try Again</source>
        <translation>Try Again</translation>
    </message>
    <message>
        <source>Quit and Lose Changes</source>
        <translation>Quit and Lose Changes</translation>
    </message>
</context>
</TS>
