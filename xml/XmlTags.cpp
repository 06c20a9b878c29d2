#include "xml/XmlTags.h"

namespace Tag
{
// Render attributes
const std::string RenderSkip = "RenderSkip";
const std::string CenterOnPoint = "CenterOnPoint";
const std::string Radius = "Radius";
const std::string LineWidth = "LineWidth";
const std::string DashLength = "DashLength";
const std::string DashInterval = "DashInterval";
const std::string ColorLine = "ColorLine";
const std::string ColorFill = "ColorFill";
const std::string GradientFill = "GradientFill";
const std::string GradientColorStart = "GradientColorStart";
const std::string GradientColorEnd = "GradientColorEnd";
const std::string GradientX1 = "GradientX1";
const std::string GradientY1 = "GradientY1";
const std::string GradientX2 = "GradientX2";
const std::string GradientY2 = "GradientY2";
const std::string GradientRadial = "GradientRadial";
const std::string Text = "Text";
const std::string FontColor = "FontColor";
const std::string FontHeight = "FontHeight";
const std::string FontFace = "FontFace";
const std::string FontStyle = "FontStyle";
const std::string TextureFill = "TextureFill";
const std::string TextureX = "TextureX";
const std::string TextureY = "TextureY";
const std::string ConvBaseX = "ConvBaseX";
const std::string ConvBaseY = "ConvBaseY";
const std::string ConvScaleX = "ConvScaleX";
const std::string ConvScaleY = "ConvScaleY";
const std::string ConvGBaseX = "ConvGBaseX";
const std::string ConvGBaseY = "ConvGBaseY";
const std::string ConvLBaseX = "ConvLBaseX";
const std::string ConvLBaseY = "ConvLBaseY";
const std::string SplMin = "SplMin";
const std::string SplMax = "SplMax";
const std::string SplGradient = "SplGradient";
const std::string SplScale = "SplScale";
const std::string ConvFlipY = "ConvFlipY";

// Version identifiers
const std::string VersionDate = "2008-11-10-001";
const std::string VersionText = "Version 1.02  2008/11/10";

// Model names
const std::string PX1 = "PX1";
const std::string PX2 = "PX2";
const std::string PX3 = "PX3";
const std::string PX4 = "PX4";
const std::string PX5 = "PX5";
const std::string PX6 = "PX6";
const std::string PX7 = "PX7";
const std::string Model_HB1 = "Model_HB1";
const std::string Model_DRXR1 = "Model_DRXR1";
const std::string Model_DRXS1 = "Model_DRXS1";

// Common structure
const std::string Total = "Total";
const std::string Slot = "Slot";
const std::string XGuid = "XGuid";
const std::string TargetXGuid = "TargetXGuid";
const std::string None = "None";
const std::string True = "True";
const std::string False = "False";
const std::string Parent = "Parent";
const std::string Cab = "Cab";
const std::string CabProd = "CabProd";
const std::string Pointer = "Pointer";
const std::string State = "State";
const std::string Name = "Name";
const std::string XForward = "XForward";
const std::string XXForward = "XXForward";
const std::string Product = "Product";
const std::string Product_Combo = "Product_Combo";
const std::string Model = "Model";
const std::string Type = "Type";
const std::string Venue = "Venue";

// Render and scene structure
const std::string Render = "Render";
const std::string Circle = "Circle";
const std::string Polygon = "Polygon";
const std::string Info = "Info";
const std::string Meta = "Meta";
const std::string MetaCab = "MetaCab";
const std::string MetaCG = "MetaCG";
const std::string MetaName = "MetaName";
const std::string MetaMore = "MetaMore";
const std::string RenderSpec = "RenderSpec";
const std::string RenderItem = "RenderItem";
const std::string Tags = "Tags";
const std::string ArrayCG = "ArrayCG";
const std::string PinPoint = "PinPoint";
const std::string HangCG = "HangCG";
const std::string RenderPoint = "RenderPoint";
const std::string RenderCircle = "RenderCircle";
const std::string RenderPoly = "RenderPoly";
const std::string RenderNot = "RenderNot";
const std::string Scene = "Scene";

// Array document
const std::string Array = "Array";
const std::string SlotPin = "SlotPin";
const std::string SlotSplay = "SlotSplay";
const std::string SlotCab = "SlotCab";
const std::string ProductList = "ProductList";
const std::string CabList = "CabList";
const std::string FlagInUse = "FlagInUse";
const std::string ValueHang = "ValueHang";

// Product definitions
const std::string Speaker = "Speaker";
const std::string Flybar = "Flybar";
const std::string AdapterBar = "AdapterBar";
const std::string PullupBar = "PullupBar";
const std::string Power = "Power";
const std::string Pressure = "Pressure";
const std::string PressureDB = "PressureDB";
const std::string FrontHeight = "FrontHeight";
const std::string Vert = "Vert";
const std::string TightAngle = "TightAngle";
const std::string FlooreAngle = "FlooreAngle";
const std::string BottomPanelAngleAdjust = "BottomPanelAngleAdjust";
const std::string SpanPickSide = "SpanPickSide";
const std::string SpanPickFrontRear = "SpanPickFrontRear";
const std::string SpeakerPinLocFront = "SpeakerPinLocFront";
const std::string SpeakerPinLocRear = "SpeakerPinLocRear";
const std::string PinTotal = "PinTotal";
const std::string PinDelta = "PinDelta";
const std::string PinLocFirst = "PinLocFirst";
const std::string PinLocLast = "PinLocLast";
const std::string PinList = "PinList";
const std::string Pin = "Pin";
const std::string ArrayInfo = "ArrayInfo";
const std::string Total_Model_1 = "Total_Model_1";
const std::string Total_Model_2 = "Total_Model_2";
const std::string Total_Model_Combined = "Total_Model_Combined";
const std::string Total_Model_Types = "Total_Model_Types";

// Value controls
const std::string Max = "Max";
const std::string Min = "Min";
const std::string Value = "Value";
const std::string Delta = "Delta";
const std::string VSlide = "VSlide";
const std::string VList = "VList";
const std::string VEdit = "VEdit";
const std::string VSlideInt = "VSlideInt";
const std::string VEditInt = "VEditInt";
const std::string VEditDouble = "VEditDouble";
const std::string VEditText = "VEditText";
const std::string VEditGroupText = "VEditGroupText";
const std::string VEditDouble12 = "VEditDouble12";
const std::string VLabelDouble = "VLabelDouble";
const std::string VLabelDouble12 = "VLabelDouble12";
const std::string VSlideEditDouble12 = "VSlideEditDouble12";
const std::string VSlideEditDouble = "VSlideEditDouble";
const std::string VLabelText = "VLabelText";
const std::string VToggleButton = "VToggleButton";
const std::string VButtonText = "VButtonText";

// Hanging, centre of gravity and aiming
const std::string HangCenter = "HangCenter";
const std::string HangSides = "HangSides";
const std::string HangFrontBack = "HangFrontBack";
const std::string CGInfo = "CGInfo";
const std::string UL = "UL";
const std::string LL = "LL";
const std::string UR = "UR";
const std::string LR = "LR";
const std::string Center = "Center";
const std::string AimStuff = "AimStuff";
const std::string Aim = "Aim";
const std::string UEdge = "UEdge";
const std::string LEdge = "LEdge";
const std::string AimLine = "AimLine";
const std::string NoAimLines = "NoAimLines";
const std::string Number = "Number";
const std::string Connect1 = "Connect1";
const std::string Connect2 = "Connect2";
const std::string Connect3 = "Connect3";
const std::string CG = "CG";
const std::string Touch = "Touch";
const std::string AssemblyCGInfo = "AssemblyCGInfo";
const std::string TouchTo = "TouchTo";
const std::string Spacing = "Spacing";
const std::string AimDist = "AimDist";

// Module switches
const std::string Settings = "Settings";
const std::string Switch1 = "Switch1";
const std::string Switch2 = "Switch2";
const std::string Switch2Name = "Switch2Name";

// Weights and units
const std::string Weight = "Weight";
const std::string UnitWeight = "UnitWeight";
const std::string UnitLength = "UnitLength";
const std::string Pounds = "Pounds";
const std::string Kilograms = "Kilograms";
const std::string Inches = "Inches";
const std::string Feet = "Feet";
const std::string Yards = "Yards";
const std::string Centimeters = "Centimeters";
const std::string Meters = "Meters";

// Geometry
const std::string RenderInfo = "RenderInfo";
const std::string X = "X";
const std::string Y = "Y";
const std::string Z = "Z";
const std::string Point = "Point";
const std::string PointList = "PointList";
const std::string TagList = "TagList";
const std::string Combo = "Combo";
const std::string Key = "Key";
const std::string Model1 = "Model1";
const std::string Model2 = "Model2";
const std::string Splay = "Splay";
const std::string Splay1 = "Splay1";
const std::string Splay2 = "Splay2";
const std::string Splay3 = "Splay3";
const std::string Splay4 = "Splay4";
const std::string Splay5 = "Splay5";
const std::string Splay6 = "Splay6";
const std::string Splay7 = "Splay7";
const std::string Splay8 = "Splay8";
const std::string Splay9 = "Splay9";
const std::string Splay10 = "Splay10";
const std::string FrontPin = "FrontPin";
const std::string BackPin = "BackPin";
const std::string Angle = "Angle";
const std::string Dist = "Dist";
const std::string PosTop = "PosTop";
const std::string PosMiddle = "PosMiddle";
const std::string PosBottom = "PosBottom";
const std::string PosTopExt = "PosTopExt";
const std::string PosMiddleExt = "PosMiddleExt";
const std::string PosBottomExt = "PosBottomExt";
const std::string FileName = "FileName";
const std::string sX = "sX";
const std::string sY = "sY";
const std::string eX = "eX";
const std::string eY = "eY";
const std::string Length = "Length";
const std::string sZ = "sZ";
const std::string eZ = "eZ";
const std::string Line = "Line";
const std::string LAngle = "LAngle";
const std::string LDist = "LDist";
const std::string Level1 = "Level1";
const std::string Level2 = "Level2";
const std::string ScaleX = "ScaleX";
const std::string ScaleY = "ScaleY";

// Venue
const std::string HangPoint = "HangPoint";
const std::string Stage = "Stage";
const std::string Area = "Area";
const std::string AreaList = "AreaList";
const std::string InterList = "InterList";
const std::string Inter = "Inter";
const std::string Point1 = "Point1";
const std::string Point2 = "Point2";
const std::string Point3 = "Point3";
const std::string Point4 = "Point4";
const std::string ControlPoint = "ControlPoint";
const std::string Thick = "Thick";
const std::string Refresh = "Refresh";

// Commands and files
const std::string DoCommand = "DoCommand";
const std::string ArrayFile = "ArrayFile";
const std::string VenueFile = "VenueFile";

// SPL
const std::string PolarList = "PolarList";
const std::string Polar = "Polar";
const std::string AngleList = "AngleList";
const std::string SplayList = "SplayList";
const std::string SplList = "SplList";
const std::string Target = "Target";
const std::string SplPoint = "SplPoint";
const std::string SplTotal = "SplTotal";
const std::string SplMinSpl = "SplMin";
const std::string SplMaxSpl = "SplMax";
const std::string SplGradientSpl = "SplGradient";
const std::string SplBase = "SplBase";
const std::string SplRange = "SplRange";
const std::string TopEdge = "TopEdge";
const std::string BottomEdge = "BottomEdge";
const std::string MiddleEdge = "MiddleEdge";

// Settings file
const std::string UnitType = "UnitType";
const std::string SI = "SI";
const std::string US = "US";
const std::string Application = "Application";
const std::string Display = "Display";
const std::string UnitDescribe = "UnitDescribe";
const std::string Visible = "Visible";

// Band prediction
const std::string Acoustics = "Acoustics";
const std::string BandLow = "BandLow";
const std::string BandHigh = "BandHigh";
const std::string OnAxisDB = "OnAxisDB";
const std::string Height = "Height";
const std::string Air = "Air";
const std::string Temperature = "Temperature";
const std::string Humidity = "Humidity";
const std::string AirTemperature = "AirTemperature";
const std::string AirHumidity = "AirHumidity";
const std::string BandZ = "BandZ";
const std::string BandA = "BandA";

} // namespace Tag
