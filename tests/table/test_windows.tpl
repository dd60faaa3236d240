# Windows for the table tests: a table window whose data source is fed by a
# general provider, a data source with no provider, and an editor window with
# a grid over a record file through a database provider.
window {
    id = 0x52010E01
    symbol = TableWindow
    rect = 20 20 600 420
    caption "表格测试"
    grid "表格1" {
        symbol = Grid
        rect = 0 0 580 300
        set source "数据源1"
    }
    datasource "数据源1" {
        symbol = Source
        rect = 0 310 132 22
        set provider "通用提供者1"
    }
    provider "通用提供者1" {
        symbol = Provider
    }
    datasource "数据源2" {
        symbol = Lonely
        rect = 200 310 132 22
    }
}

window {
    id = 0x52010E02
    symbol = EditorWindow
    rect = 50 50 380 250
    caption "类型管理"
    on 2 EditorDestroyed
    grid "表格_类型" {
        symbol = EditorGrid
        rect = 0 0 375 184
        set source "数据源"
    }
    datasource "数据源" {
        symbol = EditorSource
        rect = 121 192 132 22
        set provider "数据库提供者"
    }
    dbprovider "数据库提供者" {
        symbol = EditorProvider
    }
}
