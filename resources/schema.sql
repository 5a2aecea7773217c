-- The Tessaly database. Booleans are INTEGER 0/1, message numbers are INTEGER so that
-- MAX([Number]) compares numbers. Ids typed or copied by people compare without case.
CREATE TABLE T_BidData (
    Aid TEXT NOT NULL DEFAULT '',
    Title TEXT NOT NULL DEFAULT '',
    BidId TEXT NOT NULL DEFAULT '' COLLATE NOCASE,
    Price TEXT NOT NULL DEFAULT '',
    Url TEXT NOT NULL DEFAULT '',
    [Index] INTEGER NOT NULL DEFAULT 0,
    Quantity TEXT NOT NULL DEFAULT '',
    UpdateFlg INTEGER NOT NULL DEFAULT 0,
    DeleteFlg INTEGER NOT NULL DEFAULT 0,
    LoginId TEXT NOT NULL DEFAULT '' COLLATE NOCASE,
    FirstFlg TEXT NOT NULL DEFAULT '',
    PaymentFlg TEXT NOT NULL DEFAULT '',
    ReceiptFlg TEXT NOT NULL DEFAULT '',
    EvaluationFlg TEXT NOT NULL DEFAULT '',
    EndFlg TEXT NOT NULL DEFAULT '',
    ContactMethod TEXT NOT NULL DEFAULT '',
    EvaluationUnnecessary TEXT NOT NULL DEFAULT '',
    EndDataTime TEXT NOT NULL DEFAULT '',
    DealingsCompletionFlg INTEGER NOT NULL DEFAULT 0,
    Carriage TEXT NOT NULL DEFAULT '',
    Forwarding TEXT NOT NULL DEFAULT '',
    Remarks TEXT NOT NULL DEFAULT ''
);
CREATE INDEX IX_BidData_Transaction ON T_BidData (Aid, BidId);
-- LoginId alone: a store that marks rows deleted then moves no index entry.
CREATE INDEX IX_BidData_Login ON T_BidData (LoginId);

CREATE TABLE T_BidMaster (
    Id TEXT NOT NULL PRIMARY KEY COLLATE NOCASE,
    Name TEXT NOT NULL DEFAULT '',
    MailMain TEXT NOT NULL DEFAULT '',
    Post TEXT NOT NULL DEFAULT '',
    Address1 TEXT NOT NULL DEFAULT '',
    Tel TEXT NOT NULL DEFAULT ''
);

CREATE TABLE T_Navi (
    Aid TEXT NOT NULL DEFAULT '',
    WriteId TEXT NOT NULL DEFAULT '' COLLATE NOCASE,
    [Number] INTEGER NOT NULL DEFAULT 0,
    Subject TEXT NOT NULL DEFAULT '',
    Message TEXT NOT NULL DEFAULT '',
    WriteDate TEXT NOT NULL DEFAULT '',
    RecFlg INTEGER NOT NULL DEFAULT 0,
    NewFlg INTEGER NOT NULL DEFAULT 0,
    FolderID TEXT NOT NULL DEFAULT '',
    LoginId TEXT NOT NULL DEFAULT '' COLLATE NOCASE,
    BidId TEXT NOT NULL DEFAULT '' COLLATE NOCASE,
    UnsealingFlg INTEGER NOT NULL DEFAULT 0,
    DeleteFlgSub INTEGER NOT NULL DEFAULT 0
);
CREATE INDEX IX_Navi_Transaction ON T_Navi (Aid, BidId, [Number]);
-- The folder list reads every column it shows but the message from this index alone.
CREATE INDEX IX_Navi_FolderList ON T_Navi (LoginId, FolderID, Aid, BidId, WriteId, [Number],
    Subject, WriteDate, RecFlg, UnsealingFlg);
-- The message counts per transaction, T_NaviCount and the triggers that keep it, are added to
-- every file at open (platform/SchemaUpgrade).
CREATE INDEX IX_Navi_Counts ON T_Navi (LoginId, Aid, BidId, RecFlg, UnsealingFlg);

CREATE TABLE T_NaviFolderMaster (
    [ID] TEXT NOT NULL DEFAULT '',
    Name TEXT NOT NULL DEFAULT '',
    ImageIndex INTEGER NOT NULL DEFAULT 0,
    SelectImageIndex INTEGER NOT NULL DEFAULT 0,
    StateIndex INTEGER NOT NULL DEFAULT 0,
    SortNumber INTEGER NOT NULL DEFAULT 0,
    ExpandFlg INTEGER NOT NULL DEFAULT 0,
    LoginId TEXT NOT NULL DEFAULT '' COLLATE NOCASE,
    UniqueIdName TEXT NOT NULL DEFAULT ''
);
CREATE INDEX IX_NaviFolderMaster_Login ON T_NaviFolderMaster (LoginId, [ID]);
CREATE INDEX IX_NaviFolderMaster_Unique ON T_NaviFolderMaster (UniqueIdName);

CREATE TABLE T_NaviTemplate (
    SaveName TEXT NOT NULL PRIMARY KEY COLLATE NOCASE,
    Subject INTEGER NOT NULL DEFAULT 0,
    Message TEXT NOT NULL DEFAULT '',
    SortNumber INTEGER NOT NULL DEFAULT 0,
    FirstFlg INTEGER NOT NULL DEFAULT 0,
    PaymentFlg INTEGER NOT NULL DEFAULT 0,
    ReceiptFlg INTEGER NOT NULL DEFAULT 0,
    EvaluationFlg INTEGER NOT NULL DEFAULT 0,
    EndFlg INTEGER NOT NULL DEFAULT 0
);

CREATE TABLE T_EvaluationTemplate (
    SaveName TEXT NOT NULL PRIMARY KEY COLLATE NOCASE,
    Evaluation INTEGER NOT NULL DEFAULT 0,
    Message TEXT NOT NULL DEFAULT '',
    SortNumber INTEGER NOT NULL DEFAULT 0,
    FirstFlg INTEGER NOT NULL DEFAULT 0,
    PaymentFlg INTEGER NOT NULL DEFAULT 0,
    ReceiptFlg INTEGER NOT NULL DEFAULT 0,
    EvaluationFlg INTEGER NOT NULL DEFAULT 0,
    EndFlg INTEGER NOT NULL DEFAULT 0
);

CREATE TABLE T_LoginId (
    LoginId TEXT NOT NULL DEFAULT '' COLLATE NOCASE,
    PassWord TEXT NOT NULL DEFAULT '',
    Main INTEGER NOT NULL DEFAULT 0
);

CREATE TABLE T_PersonalData (
    Name TEXT NOT NULL DEFAULT '',
    NamePhonetic TEXT NOT NULL DEFAULT '',
    Post TEXT NOT NULL DEFAULT '',
    Address1 TEXT NOT NULL DEFAULT '',
    Tel TEXT NOT NULL DEFAULT '',
    Mail TEXT NOT NULL DEFAULT ''
);

CREATE TABLE T_BidDeleteData (
    Aid TEXT NOT NULL DEFAULT '',
    BidId TEXT NOT NULL DEFAULT '' COLLATE NOCASE,
    Price TEXT NOT NULL DEFAULT '',
    LoginId TEXT NOT NULL DEFAULT '' COLLATE NOCASE
);

CREATE TABLE T_NaviDraft (
    UniqueIdName TEXT NOT NULL DEFAULT '',
    Aid TEXT NOT NULL DEFAULT '',
    ReplyNo TEXT NOT NULL DEFAULT '',
    Subject TEXT NOT NULL DEFAULT '',
    Message TEXT NOT NULL DEFAULT '',
    LoginId TEXT NOT NULL DEFAULT '' COLLATE NOCASE,
    UpDateTime TEXT NOT NULL DEFAULT '',
    FirstFlg INTEGER NOT NULL DEFAULT 0,
    PaymentFlg INTEGER NOT NULL DEFAULT 0,
    ReceiptFlg INTEGER NOT NULL DEFAULT 0,
    EvaluationFlg INTEGER NOT NULL DEFAULT 0,
    EndFlg INTEGER NOT NULL DEFAULT 0
);
