#pragma once
// Every text the user sees, by id, in German, English and French.
// Windows-1252 bytes, as the ANSI calls show them. Formats stay formats: the
// caller fills them in. A text that exists in one language only (the data
// check, the printed headings, the print job's name, the first window title)
// stands with the same bytes in all three columns. A menu item that a language
// lacks holds another language's text there; the menu description leaves it out.
#include "settings/monitor_settings.h"

enum TextId : unsigned {
    // Menu bar: drop-down titles, then the items in menu order.
    txtMenuFile, txtMenuEdit, txtMenuView, txtMenuSetup, txtMenuHelp,
    txtItemPrintNmeaTable, txtItemPrintChart, txtItemQuit,
    txtItemEraseMonitorTxt, txtItemEraseNmeaTxt, txtItemCopyChart,
    txtItemShowT1, txtItemShowT3, txtItemHoursView, txtItemWeekView, txtItemNightColours,
    txtItemAcknowledgeAlarm,
    txtItemBarographMode, txtItemNmeaMode,
    txtItemCom1, txtItemCom2, txtItemCom3, txtItemCom4,
    txtItemCom5, txtItemCom6, txtItemCom7, txtItemCom8,
    txtItemComFormat,  // a port from COM9 on, by its number
    txtItemSendUdp,    // with the configured UDP port
    txtItemOptions,
    txtItemSaveOff, txtItemSaveOn, txtItemScale950, txtItemScale900,
    txtItemBeep, txtItemErrorLog,
    txtItemGerman, txtItemEnglish, txtItemFrench,
    txtItemHelp, txtItemAbout, txtItemLinkCable, txtItemDataFormats,
    // The four information windows; the about text is a format (version, date).
    txtHelpCaption, txtHelpText, txtAboutCaption, txtAboutFormat,
    txtLinkCableCaption, txtLinkCableText, txtDataFormatsCaption, txtDataFormatsText,
    // Window titles: formats with the source's name, counter, time and values.
    txtFirstWindowTitle, txtBarographTitle, txtNmeaTitle, txtLiveBarographTitle, txtNmeaCountTitle,
    // Message boxes.
    txtEraseRefused, txtEraseRefusedCaption,  // format with the file name
    txtDiskSpaceLow, txtDiskSpaceLowCaption,
    txtFatalMessage, txtFatalCaption,         // format with date, time and error number
    txtPortUnavailable, txtPortCaption,       // format with the port name
    txtPrintNoPrinter, txtPrintRefused, txtPrintCaption,
    // The data check, English only.
    txtCheckWriteTmp, txtCheckReadTxt, txtCheckWriteBak, txtCheckWriteTxt,
    txtCheckWriteCaption, txtCheckReadCaption, txtCheckNoRecords, txtCheckCaption,
    txtCheckSummary,  // format with records read, recordings, errors found and corrected
    // Screen chart legend, and the printed words (German only).
    txtLegendPressure, txtLegendTendency1h, txtLegendTendency3h,
    txtDocumentName, txtPrintedChartTitle, txtPrintedNmeaHeading,
    // The chart's storm warning banners: the words of each level, the
    // tendencies and the time it came on (format), and data stopped (format).
    txtBannerWindWarning, txtBannerGaleAlarm, txtBannerDetails, txtBannerNoData,
    // The week chart: weekday names from Sunday and month names, each a
    // list of words separated by one space; a week without records; the
    // printed heading (German only).
    txtWeekdayNames, txtMonthNames, txtWeekEmpty, txtPrintedWeekTitle,
    // The Options dialog: caption (also of its boxes), buttons, groups and
    // field labels in the order of the fields; the range a box names, as
    // formats (name, low, high, unit) with 0 allowed besides, and an address.
    txtOptionsCaption, txtOptionsOk, txtOptionsCancel,
    txtGroupPressure, txtFieldCorrection, txtFieldHeight,
    txtGroupStormWarning, txtFieldWarning3h, txtFieldGale3h, txtFieldGale1h, txtFieldLowLimit,
    txtGroupSending, txtFieldSend, txtFieldAddress, txtFieldPort,
    txtGroupSignalK, txtFieldSignalK, txtFieldSignalKAddress, txtFieldSignalKPort,
    txtRangeFormat, txtRangeOrZeroFormat, txtAddressFormat,
    // The low-pressure alarm's banner (format with the limit), and the
    // correction in force (format with the signed offset and the height).
    txtBannerLowPressure, txtCorrectionInForce,
    // monitor.ini left as it is for the run: it could not be read, or a
    // damaged one could not be put aside; the box's caption.
    txtSettingsUnreadableKept, txtSettingsDamagedKept, txtSettingsKeptCaption,
    // The source of the lines: the Options dialog's group and its choices
    // (labels of the fields in their order), the Setup menu's item for a
    // network source (formats with the port, or address:port), and the box
    // of a UDP port another program holds (format with the port) and its caption.
    txtGroupReceiving, txtFieldSourceSerial, txtFieldSourceUdp, txtFieldSourceTcp, txtFieldSourceTcpPort,
    txtItemNetworkUdp, txtItemNetworkTcp, txtUdpPortHeld, txtNetworkCaption,
    textCount
};

const char* uiText(TextId id, UiLanguage language);

// In the current language.
inline const char* uiText(TextId id) { return uiText(id, uiLanguage()); }
