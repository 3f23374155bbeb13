# Global property templates file.
# This file was automatically generated.
#####################################################
import App
#################################################
StandardSensor = App.SensorProperty_Create("Standard Sensor")

StandardSensor.SetMaxCondition(800.000000)
StandardSensor.SetCritical(0)
StandardSensor.SetTargetable(1)
StandardSensor.SetPrimary(1)
StandardSensor.SetPosition(0.000000, 0.000000, 0.000000)
StandardSensor.SetPosition2D(0.000000, 0.000000)
StandardSensor.SetRepairComplexity(1.000000)
StandardSensor.SetDisabledPercentage(0.500000)
StandardSensor.SetRadius(0.250000)
StandardSensor.SetNormalPowerPerSecond(1.000000)
StandardSensor.SetBaseSensorRange(1000.000000)
StandardSensor.SetMaxProbes(10)
App.g_kModelPropertyManager.RegisterGlobalTemplate(StandardSensor)
#################################################
StandardRepair = App.RepairSubsystemProperty_Create("Standard Repair")

StandardRepair.SetMaxCondition(600.000000)
StandardRepair.SetCritical(0)
StandardRepair.SetTargetable(1)
StandardRepair.SetPrimary(1)
StandardRepair.SetPosition(0.000000, 0.000000, 0.000000)
StandardRepair.SetPosition2D(0.000000, 0.000000)
StandardRepair.SetRepairComplexity(1.000000)
StandardRepair.SetDisabledPercentage(0.500000)
StandardRepair.SetRadius(0.250000)
StandardRepair.SetNormalPowerPerSecond(1.000000)
StandardRepair.SetMaxRepairPoints(0.000000)
StandardRepair.SetNumRepairTeams(1)
App.g_kModelPropertyManager.RegisterGlobalTemplate(StandardRepair)
#####################################################
