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
</context>
</TS>
