#pragma once

#include <QByteArray>

namespace mldd::test {

/**
 * The driver description of a thermal printer with a driver: 4×6 in,
 * 76×130 mm (as the driver names it, "w215h369") and A4 pages, and custom
 * sizes; it hands PDF to the device untouched, so a job's pages come back as
 * sent.
 */
inline const QByteArray kLabelDriver = R"ppd(*PPD-Adobe: "4.3"
*FormatVersion: "4.3"
*FileVersion: "1.0"
*LanguageVersion: English
*LanguageEncoding: ISOLatin1
*PCFileName: "TLABEL.PPD"
*Manufacturer: "Test"
*Product: "(Test Label)"
*ModelName: "Test Label"
*ShortNickName: "Test Label"
*NickName: "Test Label"
*PSVersion: "(3010.000) 0"
*LanguageLevel: "3"
*ColorDevice: False
*DefaultColorSpace: Gray
*FileSystem: False
*Throughput: "1"
*cupsVersion: 2.4
*cupsFilter2: "application/pdf application/vnd.cups-pdf 0 -"
*OpenUI *PageSize/Media Size: PickOne
*OrderDependency: 10 AnySetup *PageSize
*DefaultPageSize: w288h432
*PageSize w288h432/4x6in: "<</PageSize[288 432]>>setpagedevice"
*PageSize w215h369/76x130mm: "<</PageSize[215 369]>>setpagedevice"
*PageSize A4/A4: "<</PageSize[595 842]>>setpagedevice"
*CloseUI: *PageSize
*OpenUI *PageRegion: PickOne
*OrderDependency: 10 AnySetup *PageRegion
*DefaultPageRegion: w288h432
*PageRegion w288h432/4x6in: "<</PageSize[288 432]>>setpagedevice"
*PageRegion w215h369/76x130mm: "<</PageSize[215 369]>>setpagedevice"
*PageRegion A4/A4: "<</PageSize[595 842]>>setpagedevice"
*CloseUI: *PageRegion
*DefaultImageableArea: w288h432
*ImageableArea w288h432: "0 0 288 432"
*ImageableArea w215h369: "0 0 215 369"
*ImageableArea A4: "0 0 595 842"
*DefaultPaperDimension: w288h432
*PaperDimension w288h432: "288 432"
*PaperDimension w215h369: "215 369"
*PaperDimension A4: "595 842"
*HWMargins: 0 0 0 0
*VariablePaperSize: True
*ParamCustomPageSize Width: 1 points 36 340
*ParamCustomPageSize Height: 2 points 36 2000
*ParamCustomPageSize WidthOffset: 3 points 0 0
*ParamCustomPageSize HeightOffset: 4 points 0 0
*ParamCustomPageSize Orientation: 5 int 0 0
*CustomPageSize True: "pop pop pop <</PageSize[5 -2 roll]>>setpagedevice"
*MaxMediaWidth: "340"
*MaxMediaHeight: "2000"
)ppd";

} // namespace mldd::test
