#pragma once
// The tag vocabulary: every element name the program reads or writes, declared once; no
// other file spells a tag in quotes. Constants are named after their text (characters
// outside [A-Za-z0-9_] become '_'). The line keys are the plane line's own key names.

#include "base/CLine.h"

#include <string>

namespace Tag
{
// Render attributes
inline const std::string CenterOnPoint = "CenterOnPoint";
inline const std::string Radius = "Radius";
inline const std::string LineWidth = "LineWidth";
inline const std::string DashLength = "DashLength";
inline const std::string DashInterval = "DashInterval";
inline const std::string ColorLine = "ColorLine";
inline const std::string ColorFill = "ColorFill";
inline const std::string GradientFill = "GradientFill";
inline const std::string GradientColorStart = "GradientColorStart";
inline const std::string GradientColorEnd = "GradientColorEnd";
inline const std::string GradientX1 = "GradientX1";
inline const std::string GradientY1 = "GradientY1";
inline const std::string GradientX2 = "GradientX2";
inline const std::string GradientY2 = "GradientY2";
inline const std::string GradientRadial = "GradientRadial";
inline const std::string TextureFill = "TextureFill";
inline const std::string TextureX = "TextureX";
inline const std::string TextureY = "TextureY";
inline const std::string ConvBaseX = "ConvBaseX";
inline const std::string ConvBaseY = "ConvBaseY";
inline const std::string ConvScaleX = "ConvScaleX";
inline const std::string ConvScaleY = "ConvScaleY";
inline const std::string ConvGBaseX = "ConvGBaseX";
inline const std::string ConvGBaseY = "ConvGBaseY";
inline const std::string ConvLBaseX = "ConvLBaseX";
inline const std::string ConvLBaseY = "ConvLBaseY";
inline const std::string SplMin = "SplMin";
inline const std::string SplMax = "SplMax";
inline const std::string SplGradient = "SplGradient";
inline const std::string ConvFlipY = "ConvFlipY";

// Version identifiers
inline const std::string VersionDate = "2008-11-10-001";
inline const std::string VersionText = "Version 1.02  2008/11/10";

// Model names
inline const std::string PX1 = "PX1";
inline const std::string PX2 = "PX2";
inline const std::string PX6 = "PX6";
inline const std::string PX7 = "PX7";
inline const std::string Model_HB1 = "Model_HB1";
inline const std::string Model_DRXR1 = "Model_DRXR1";
inline const std::string Model_DRXS1 = "Model_DRXS1";

// Common structure
inline const std::string Total = "Total";
inline const std::string Slot = "Slot";
inline const std::string XGuid = "XGuid";
inline const std::string TargetXGuid = "TargetXGuid";
inline const std::string None = "None";
inline const std::string True = "True";
inline const std::string False = "False";
inline const std::string Parent = "Parent";
inline const std::string Cab = "Cab";
inline const std::string CabProd = "CabProd";
inline const std::string Pointer = "Pointer";
inline const std::string State = "State";
inline const std::string Name = "Name";
inline const std::string XForward = "XForward";
inline const std::string XXForward = "XXForward";
inline const std::string Product = "Product";
inline const std::string Product_Combo = "Product_Combo";
inline const std::string Model = "Model";
inline const std::string Type = "Type";
inline const std::string Venue = "Venue";
inline const std::string Root = "Root";
inline const std::string NULL_Node = "NULL Node";

// Render and scene structure
inline const std::string Render = "Render";
inline const std::string Circle = "Circle";
inline const std::string Polygon = "Polygon";
inline const std::string Info = "Info";
inline const std::string Meta = "Meta";
inline const std::string MetaMore = "MetaMore";
inline const std::string RenderSpec = "RenderSpec";
inline const std::string RenderItem = "RenderItem";
inline const std::string ArrayCG = "ArrayCG";
inline const std::string HangCG = "HangCG";
inline const std::string Scene = "Scene";
inline const std::string Scan = "Scan";
inline const std::string Trigger = "Trigger";

// Array document
inline const std::string Array = "Array";
inline const std::string SlotPin = "SlotPin";
inline const std::string SlotSplay = "SlotSplay";
inline const std::string ProductList = "ProductList";
inline const std::string CabList = "CabList";
inline const std::string FlagInUse = "FlagInUse";
inline const std::string ValueHang = "ValueHang";

// Product definitions
inline const std::string Speaker = "Speaker";
inline const std::string Flybar = "Flybar";
inline const std::string AdapterBar = "AdapterBar";
inline const std::string PullupBar = "PullupBar";
inline const std::string Power = "Power";
inline const std::string Pressure = "Pressure";
inline const std::string PressureDB = "PressureDB";
inline const std::string FrontHeight = "FrontHeight";
inline const std::string Vert = "Vert";
inline const std::string TightAngle = "TightAngle";
inline const std::string FlooreAngle = "FlooreAngle";
inline const std::string BottomPanelAngleAdjust = "BottomPanelAngleAdjust";
inline const std::string SpanPickSide = "SpanPickSide";
inline const std::string SpanPickFrontRear = "SpanPickFrontRear";
inline const std::string SpeakerPinLocFront = "SpeakerPinLocFront";
inline const std::string SpeakerPinLocRear = "SpeakerPinLocRear";
inline const std::string PinTotal = "PinTotal";
inline const std::string PinDelta = "PinDelta";
inline const std::string PinLocFirst = "PinLocFirst";
inline const std::string PinLocLast = "PinLocLast";
inline const std::string PinList = "PinList";
inline const std::string Pin = "Pin";
inline const std::string ArrayInfo = "ArrayInfo";
inline const std::string Total_Model_1 = "Total_Model_1";
inline const std::string Total_Model_2 = "Total_Model_2";
inline const std::string Total_Model_Combined = "Total_Model_Combined";
inline const std::string Total_Model_Types = "Total_Model_Types";

// Value controls
inline const std::string Max = "Max";
inline const std::string Min = "Min";
inline const std::string Value = "Value";
inline const std::string Delta = "Delta";
inline const std::string VSlide = "VSlide";
inline const std::string VSlideInt = "VSlideInt";
inline const std::string VEditDouble = "VEditDouble";
inline const std::string VEditText = "VEditText";
inline const std::string VEditGroupText = "VEditGroupText";
inline const std::string VEditDouble12 = "VEditDouble12";
inline const std::string VLabelDouble = "VLabelDouble";
inline const std::string VLabelDouble12 = "VLabelDouble12";
inline const std::string VSlideEditDouble12 = "VSlideEditDouble12";
inline const std::string VSlideEditDouble = "VSlideEditDouble";
inline const std::string VLabelText = "VLabelText";
inline const std::string VToggleButton = "VToggleButton";
inline const std::string VButtonText = "VButtonText";

// Hanging, centre of gravity and aiming
inline const std::string HangCenter = "HangCenter";
inline const std::string CGInfo = "CGInfo";
inline const std::string UL = "UL";
inline const std::string LL = "LL";
inline const std::string UR = "UR";
inline const std::string LR = "LR";
inline const std::string Center = "Center";
inline const std::string AimStuff = "AimStuff";
inline const std::string UEdge = "UEdge";
inline const std::string LEdge = "LEdge";
inline const std::string AimLine = "AimLine";
inline const std::string NoAimLines = "NoAimLines";
inline const std::string Connect1 = "Connect1";
inline const std::string Connect2 = "Connect2";
inline const std::string Connect3 = "Connect3";
inline const std::string CG = "CG";
inline const std::string Touch = "Touch";
inline const std::string AssemblyCGInfo = "AssemblyCGInfo";
inline const std::string TouchTo = "TouchTo";
inline const std::string Spacing = "Spacing";
inline const std::string AimDist = "AimDist";

// Module switches
inline const std::string Settings = "Settings";
inline const std::string Switch1 = "Switch1";
inline const std::string Switch2 = "Switch2";
inline const std::string Switch2Name = "Switch2Name";

// Weights and units
inline const std::string Weight = "Weight";
inline const std::string UnitWeight = "UnitWeight";
inline const std::string UnitLength = "UnitLength";
inline const std::string Pounds = "Pounds";
inline const std::string Kilograms = "Kilograms";
inline const std::string Inches = "Inches";
inline const std::string Feet = "Feet";
inline const std::string Meters = "Meters";

// Geometry
inline const std::string RenderInfo = "RenderInfo";
inline const std::string X = "X";
inline const std::string Y = "Y";
inline const std::string Point = "Point";
inline const std::string PointList = "PointList";
inline const std::string TagList = "TagList";
inline const std::string Combo = "Combo";
inline const std::string Key = "Key";
inline const std::string Model1 = "Model1";
inline const std::string Model2 = "Model2";
inline const std::string Splay = "Splay";
inline const std::string FrontPin = "FrontPin";
inline const std::string BackPin = "BackPin";
inline const std::string Angle = "Angle";
inline const std::string Dist = "Dist";
inline const std::string PosTop = "PosTop";
inline const std::string PosMiddle = "PosMiddle";
inline const std::string PosBottom = "PosBottom";
inline const std::string PosTopExt = "PosTopExt";
inline const std::string PosMiddleExt = "PosMiddleExt";
inline const std::string PosBottomExt = "PosBottomExt";
inline const std::string FileName = "FileName";
inline const std::string& sX = CLine::kStartX;
inline const std::string& sY = CLine::kStartY;
inline const std::string& eX = CLine::kEndX;
inline const std::string& eY = CLine::kEndY;
inline const std::string Line = "Line";
inline const std::string& LAngle = CLine::kAngle;
inline const std::string& LDist = CLine::kLength;

// Venue
inline const std::string HangPoint = "HangPoint";
inline const std::string Stage = "Stage";
inline const std::string Area = "Area";
inline const std::string AreaList = "AreaList";
inline const std::string InterList = "InterList";
inline const std::string Inter = "Inter";
inline const std::string Point1 = "Point1";
inline const std::string Point2 = "Point2";
inline const std::string ControlPoint = "ControlPoint";
inline const std::string Thick = "Thick";

// Commands and files
inline const std::string DoCommand = "DoCommand";

// SPL
inline const std::string PolarList = "PolarList";
inline const std::string Polar = "Polar";
inline const std::string SplayList = "SplayList";
inline const std::string SplList = "SplList";
inline const std::string Target = "Target";
inline const std::string SplPoint = "SplPoint";
inline const std::string SplTotal = "SplTotal";
inline const std::string SplBase = "SplBase";
inline const std::string SplRange = "SplRange";
inline const std::string SplAuto = "SplAuto";
// The SPL scale kept with the venue: its ends and whether it follows the levels on show.
inline const std::string SplScale = "SplScale";
inline const std::string Bottom = "Bottom";
inline const std::string Top = "Top";
inline const std::string Automatic = "Automatic";

// Settings file
inline const std::string UnitType = "UnitType";
inline const std::string UiScale = "UiScale";
// The design file last loaded or saved, opened again at the next start.
inline const std::string LastDesign = "LastDesign";
inline const std::string SI = "SI";
inline const std::string US = "US";
inline const std::string Application = "Application";
inline const std::string Display = "Display";
inline const std::string UnitDescribe = "UnitDescribe";
inline const std::string Visible = "Visible";
inline const std::string Types = "Types";
inline const std::string Run_Directory = "Run_Directory";

// Update service
inline const std::string Update_Service = "Update_Service";
inline const std::string Link = "Link";
inline const std::string Date = "Date";
inline const std::string Version = "Version";
inline const std::string News = "News";
inline const std::string L1 = "L1";
inline const std::string L2 = "L2";
inline const std::string L3 = "L3";

// Band prediction
inline const std::string Acoustics = "Acoustics";
inline const std::string BandLow = "BandLow";
inline const std::string BandHigh = "BandHigh";
inline const std::string OnAxisDB = "OnAxisDB";
inline const std::string Crossover = "Crossover";
inline const std::string Role = "Role";
inline const std::string High = "High";
inline const std::string Low = "Low";
// The user's processing of one source, in the position's Product
inline const std::string Processing = "Processing";
inline const std::string Delay = "Delay";
inline const std::string Polarity = "Polarity";
inline const std::string Gain = "Gain";
inline const std::string Air = "Air";
inline const std::string Temperature = "Temperature";
inline const std::string Humidity = "Humidity";
inline const std::string AirTemperature = "AirTemperature";
inline const std::string AirHumidity = "AirHumidity";
inline const std::string BandZ = "BandZ";
inline const std::string BandA = "BandA";
// Window settings of the band prediction
inline const std::string View = "View";
inline const std::string FieldMap = "FieldMap";
} // namespace Tag
