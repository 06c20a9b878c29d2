#pragma once
// The tag vocabulary: every element name the program reads or writes, defined once.
// Constants are named after their text (characters outside [A-Za-z0-9_] become '_').

#include <string>

namespace Tag
{
// Render attributes
extern const std::string RenderSkip;
extern const std::string CenterOnPoint;
extern const std::string Radius;
extern const std::string LineWidth;
extern const std::string DashLength;
extern const std::string DashInterval;
extern const std::string ColorLine;
extern const std::string ColorFill;
extern const std::string GradientFill;
extern const std::string GradientColorStart;
extern const std::string GradientColorEnd;
extern const std::string GradientX1;
extern const std::string GradientY1;
extern const std::string GradientX2;
extern const std::string GradientY2;
extern const std::string GradientRadial;
extern const std::string Text;
extern const std::string FontColor;
extern const std::string FontHeight;
extern const std::string FontFace;
extern const std::string FontStyle;
extern const std::string TextureFill;
extern const std::string TextureX;
extern const std::string TextureY;
extern const std::string ConvBaseX;
extern const std::string ConvBaseY;
extern const std::string ConvScaleX;
extern const std::string ConvScaleY;
extern const std::string ConvGBaseX;
extern const std::string ConvGBaseY;
extern const std::string ConvLBaseX;
extern const std::string ConvLBaseY;
extern const std::string SplMin;
extern const std::string SplMax;
extern const std::string SplGradient;
extern const std::string SplScale;
extern const std::string ConvFlipY;

// Version identifiers
extern const std::string VersionDate;
extern const std::string VersionText;

// Model names
extern const std::string PX1;
extern const std::string PX2;
extern const std::string PX3;
extern const std::string PX4;
extern const std::string PX5;
extern const std::string PX6;
extern const std::string PX7;
extern const std::string Model_HB1;
extern const std::string Model_DRXR1;
extern const std::string Model_DRXS1;

// Common structure
extern const std::string Total;
extern const std::string Slot;
extern const std::string XGuid;
extern const std::string TargetXGuid;
extern const std::string None;
extern const std::string True;
extern const std::string False;
extern const std::string Parent;
extern const std::string Cab;
extern const std::string CabProd;
extern const std::string Pointer;
extern const std::string State;
extern const std::string Name;
extern const std::string XForward;
extern const std::string XXForward;
extern const std::string Product;
extern const std::string Product_Combo;
extern const std::string Model;
extern const std::string Type;
extern const std::string Venue;

// Render and scene structure
extern const std::string Render;
extern const std::string Circle;
extern const std::string Polygon;
extern const std::string Info;
extern const std::string Meta;
extern const std::string MetaCab;
extern const std::string MetaCG;
extern const std::string MetaName;
extern const std::string MetaMore;
extern const std::string RenderSpec;
extern const std::string RenderItem;
extern const std::string Tags;
extern const std::string ArrayCG;
extern const std::string PinPoint;
extern const std::string HangCG;
extern const std::string RenderPoint;
extern const std::string RenderCircle;
extern const std::string RenderPoly;
extern const std::string RenderNot;
extern const std::string Scene;

// Array document
extern const std::string Array;
extern const std::string SlotPin;
extern const std::string SlotSplay;
extern const std::string SlotCab;
extern const std::string ProductList;
extern const std::string CabList;
extern const std::string FlagInUse;
extern const std::string ValueHang;

// Product definitions
extern const std::string Speaker;
extern const std::string Flybar;
extern const std::string AdapterBar;
extern const std::string PullupBar;
extern const std::string Power;
extern const std::string Pressure;
extern const std::string PressureDB;
extern const std::string FrontHeight;
extern const std::string Vert;
extern const std::string TightAngle;
extern const std::string FlooreAngle;
extern const std::string BottomPanelAngleAdjust;
extern const std::string SpanPickSide;
extern const std::string SpanPickFrontRear;
extern const std::string SpeakerPinLocFront;
extern const std::string SpeakerPinLocRear;
extern const std::string PinTotal;
extern const std::string PinDelta;
extern const std::string PinLocFirst;
extern const std::string PinLocLast;
extern const std::string PinList;
extern const std::string Pin;
extern const std::string ArrayInfo;
extern const std::string Total_Model_1;
extern const std::string Total_Model_2;
extern const std::string Total_Model_Combined;
extern const std::string Total_Model_Types;

// Value controls
extern const std::string Max;
extern const std::string Min;
extern const std::string Value;
extern const std::string Delta;
extern const std::string VSlide;
extern const std::string VList;
extern const std::string VEdit;
extern const std::string VSlideInt;
extern const std::string VEditInt;
extern const std::string VEditDouble;
extern const std::string VEditText;
extern const std::string VEditGroupText;
extern const std::string VEditDouble12;
extern const std::string VLabelDouble;
extern const std::string VLabelDouble12;
extern const std::string VSlideEditDouble12;
extern const std::string VSlideEditDouble;
extern const std::string VLabelText;
extern const std::string VToggleButton;
extern const std::string VButtonText;

// Hanging, centre of gravity and aiming
extern const std::string HangCenter;
extern const std::string HangSides;
extern const std::string HangFrontBack;
extern const std::string CGInfo;
extern const std::string UL;
extern const std::string LL;
extern const std::string UR;
extern const std::string LR;
extern const std::string Center;
extern const std::string AimStuff;
extern const std::string Aim;
extern const std::string UEdge;
extern const std::string LEdge;
extern const std::string AimLine;
extern const std::string NoAimLines;
extern const std::string Number;
extern const std::string Connect1;
extern const std::string Connect2;
extern const std::string Connect3;
extern const std::string CG;
extern const std::string Touch;
extern const std::string AssemblyCGInfo;
extern const std::string TouchTo;
extern const std::string Spacing;
extern const std::string AimDist;

// Module switches
extern const std::string Settings;
extern const std::string Switch1;
extern const std::string Switch2;
extern const std::string Switch2Name;

// Weights and units
extern const std::string Weight;
extern const std::string UnitWeight;
extern const std::string UnitLength;
extern const std::string Pounds;
extern const std::string Kilograms;
extern const std::string Inches;
extern const std::string Feet;
extern const std::string Yards;
extern const std::string Centimeters;
extern const std::string Meters;

// Geometry
extern const std::string RenderInfo;
extern const std::string X;
extern const std::string Y;
extern const std::string Z;
extern const std::string Point;
extern const std::string PointList;
extern const std::string TagList;
extern const std::string Combo;
extern const std::string Key;
extern const std::string Model1;
extern const std::string Model2;
extern const std::string Splay;
extern const std::string Splay1;
extern const std::string Splay2;
extern const std::string Splay3;
extern const std::string Splay4;
extern const std::string Splay5;
extern const std::string Splay6;
extern const std::string Splay7;
extern const std::string Splay8;
extern const std::string Splay9;
extern const std::string Splay10;
extern const std::string FrontPin;
extern const std::string BackPin;
extern const std::string Angle;
extern const std::string Dist;
extern const std::string PosTop;
extern const std::string PosMiddle;
extern const std::string PosBottom;
extern const std::string PosTopExt;
extern const std::string PosMiddleExt;
extern const std::string PosBottomExt;
extern const std::string FileName;
extern const std::string sX;
extern const std::string sY;
extern const std::string eX;
extern const std::string eY;
extern const std::string Length;
extern const std::string sZ;
extern const std::string eZ;
extern const std::string Line;
extern const std::string LAngle;
extern const std::string LDist;
extern const std::string Level1;
extern const std::string Level2;
extern const std::string ScaleX;
extern const std::string ScaleY;

// Venue
extern const std::string HangPoint;
extern const std::string Stage;
extern const std::string Area;
extern const std::string AreaList;
extern const std::string InterList;
extern const std::string Inter;
extern const std::string Point1;
extern const std::string Point2;
extern const std::string Point3;
extern const std::string Point4;
extern const std::string ControlPoint;
extern const std::string Thick;
extern const std::string Refresh;

// Commands and files
extern const std::string DoCommand;
extern const std::string ArrayFile;
extern const std::string VenueFile;

// SPL
extern const std::string PolarList;
extern const std::string Polar;
extern const std::string AngleList;
extern const std::string SplayList;
extern const std::string SplList;
extern const std::string Target;
extern const std::string SplPoint;
extern const std::string SplTotal;
extern const std::string SplMinSpl;
extern const std::string SplMaxSpl;
extern const std::string SplGradientSpl;
extern const std::string SplBase;
extern const std::string SplRange;
extern const std::string TopEdge;
extern const std::string BottomEdge;
extern const std::string MiddleEdge;

// Settings file
extern const std::string UnitType;
extern const std::string SI;
extern const std::string US;
extern const std::string Application;
extern const std::string Display;
extern const std::string UnitDescribe;
extern const std::string Visible;

// Band prediction
extern const std::string Acoustics;
extern const std::string BandLow;
extern const std::string BandHigh;
extern const std::string OnAxisDB;
extern const std::string Height;
extern const std::string Air;
extern const std::string Temperature;
extern const std::string Humidity;
extern const std::string AirTemperature;
extern const std::string AirHumidity;
extern const std::string BandZ;
extern const std::string BandA;

} // namespace Tag
