<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>Quorim</name>
    <message>
        <source>Halvoren数据文件</source>
        <translation>Halvoren Data</translation>
    </message>
    <message>
        <source>Tarvolin数据文件 (*.szt)</source>
        <translation>Tarvolin data files (*.szt)</translation>
    </message>
    <message>
        <source>建立新文档</source>
        <translation>Create a new document</translation>
    </message>
    <message>
        <source>新建</source>
        <translation>New</translation>
    </message>
    <message>
        <source>打开一个现有文档</source>
        <translation>Open an existing document</translation>
    </message>
    <message>
        <source>打开</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>关闭活动文档</source>
        <translation>Close the active document</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>保存活动文档</source>
        <translation>Save the active document</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>用新名称保存活动文档</source>
        <translation>Save the active document with a new name</translation>
    </message>
    <message>
        <source>另存为</source>
        <translation>Save As</translation>
    </message>
    <message>
        <source>改变打印机及打印选项</source>
        <translation>Change the printer and printing options</translation>
    </message>
    <message>
        <source>打印设置</source>
        <translation>Print Setup</translation>
    </message>
    <message>
        <source>打印活动文档</source>
        <translation>Print the active document</translation>
    </message>
    <message>
        <source>打印</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>使用当前选项打印活动文档</source>
        <translation>Print the active document using the current options</translation>
    </message>
    <message>
        <source>快速打印</source>
        <translation>Quick Print</translation>
    </message>
    <message>
        <source>显示整页</source>
        <translation>Display full pages</translation>
    </message>
    <message>
        <source>打印预览</source>
        <translation>Print Preview</translation>
    </message>
    <message>
        <source>打开该文档</source>
        <translation>Open this document</translation>
    </message>
    <message>
        <source>显示程序信息，版本号和版权</source>
        <translation>Display program information, version number and copyright</translation>
    </message>
    <message>
        <source>关于</source>
        <translation>About</translation>
    </message>
    <message>
        <source>退出应用程序；提示保存文档</source>
        <translation>Quit the application; prompts to save documents</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>列出帮助主题</source>
        <translation>List Help topics</translation>
    </message>
    <message>
        <source>帮助主题</source>
        <translation>Help Topics</translation>
    </message>
    <message>
        <source>显示帮助</source>
        <translation>Display help</translation>
    </message>
    <message>
        <source>帮助</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>显示单击的按钮、菜单或窗口的帮助</source>
        <translation>Display help for clicked buttons, menus and windows</translation>
    </message>
    <message>
        <source>显示默认帮助</source>
        <translation>Display default help</translation>
    </message>
    <message>
        <source>切换到下一个窗格</source>
        <translation>Switch to the next window pane</translation>
    </message>
    <message>
        <source>下一窗格</source>
        <translation>Next Pane</translation>
    </message>
    <message>
        <source>切换回前一个窗格</source>
        <translation>Switch back to the previous window pane</translation>
    </message>
    <message>
        <source>前一窗格</source>
        <translation>Previous Pane</translation>
    </message>
    <message>
        <source>为活动文档打开另一个窗口</source>
        <translation>Open another window for the active document</translation>
    </message>
    <message>
        <source>新建窗口</source>
        <translation>New Window</translation>
    </message>
    <message>
        <source>将图标排列在窗口底部</source>
        <translation>Arrange icons at the bottom of the window</translation>
    </message>
    <message>
        <source>排列图标</source>
        <translation>Arrange Icons</translation>
    </message>
    <message>
        <source>以重叠方式排列窗口</source>
        <translation>Arrange windows so they overlap</translation>
    </message>
    <message>
        <source>层叠窗口</source>
        <translation>Cascade Windows</translation>
    </message>
    <message>
        <source>以非重叠的平铺方式排列窗口</source>
        <translation>Arrange windows as non-overlapping tiles</translation>
    </message>
    <message>
        <source>平铺窗口</source>
        <translation>Tile Windows</translation>
    </message>
    <message>
        <source>显示或隐藏工具栏</source>
        <translation>Show or hide the toolbar</translation>
    </message>
    <message>
        <source>切换工具栏</source>
        <translation>Toggle Toolbar</translation>
    </message>
    <message>
        <source>显示或隐藏状态栏</source>
        <translation>Show or hide the status bar</translation>
    </message>
    <message>
        <source>切换状态栏</source>
        <translation>Toggle Status Bar</translation>
    </message>
    <message>
        <source>读取对讲机频率</source>
        <translation>Read the frequencies from the radio</translation>
    </message>
    <message>
        <source>读频</source>
        <translation>Read Radio</translation>
    </message>
    <message>
        <source>写频率数据至对讲机</source>
        <translation>Write the frequency data to the radio</translation>
    </message>
    <message>
        <source>写频</source>
        <translation>Write Radio</translation>
    </message>
    <message>
        <source>实时修改对讲机发射功率，静燥等级，电池低压报警</source>
        <translation>Adjust the radio&apos;s transmit power, squelch level and low-battery alarm live</translation>
    </message>
    <message>
        <source>在线调试</source>
        <translation>Online Tuning</translation>
    </message>
    <message>
        <source>修改各频道数据</source>
        <translation>Edit the data of each channel</translation>
    </message>
    <message>
        <source>编辑</source>
        <translation>Edit</translation>
    </message>
    <message>
        <source>选择串口1</source>
        <translation>Select serial port 1</translation>
    </message>
    <message>
        <source>选择串口2</source>
        <translation>Select serial port 2</translation>
    </message>
    <message>
        <source>选择串口3</source>
        <translation>Select serial port 3</translation>
    </message>
    <message>
        <source>选择串口4</source>
        <translation>Select serial port 4</translation>
    </message>
    <message>
        <source>查看(&amp;V)</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>工具栏(&amp;T)</source>
        <translation>&amp;Toolbar</translation>
    </message>
    <message>
        <source>状态栏(&amp;S)</source>
        <translation>&amp;Status Bar</translation>
    </message>
    <message>
        <source>文件(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>新建(&amp;N)</source>
        <translation>&amp;New</translation>
    </message>
    <message>
        <source>打开(&amp;O)...</source>
        <translation>&amp;Open...</translation>
    </message>
    <message>
        <source>打印设置(&amp;R)...</source>
        <translation>P&amp;rint Setup...</translation>
    </message>
    <message>
        <source>最近文件</source>
        <translation>Recent File</translation>
    </message>
    <message>
        <source>退出(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>帮助(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>帮助主题(&amp;H)</source>
        <translation>&amp;Help Topics</translation>
    </message>
    <message>
        <source>关于 Quorim_CH(&amp;A)...</source>
        <translation>&amp;About Quorim_CH...</translation>
    </message>
    <message>
        <source>保存(&amp;S)</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>另存为(&amp;A)...</source>
        <translation>Save &amp;As...</translation>
    </message>
    <message>
        <source>打印(&amp;P)...</source>
        <translation>&amp;Print...</translation>
    </message>
    <message>
        <source>打印预览(&amp;V)</source>
        <translation>Print Pre&amp;view</translation>
    </message>
    <message>
        <source>编程(&amp;E)</source>
        <translation>&amp;Radio</translation>
    </message>
    <message>
        <source>读频(&amp;U)</source>
        <translation>&amp;Read Radio</translation>
    </message>
    <message>
        <source>在线调试(&amp;Y)</source>
        <translation>Online &amp;Tuning</translation>
    </message>
    <message>
        <source>编辑信道</source>
        <translation>Edit Channel</translation>
    </message>
    <message>
        <source>端口设置</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>窗口(&amp;W)</source>
        <translation>&amp;Window</translation>
    </message>
    <message>
        <source>新建窗口(&amp;N)</source>
        <translation>&amp;New Window</translation>
    </message>
    <message>
        <source>层叠(&amp;C)</source>
        <translation>&amp;Cascade</translation>
    </message>
    <message>
        <source>平铺(&amp;T)</source>
        <translation>&amp;Tile</translation>
    </message>
    <message>
        <source>排列图标(&amp;A)</source>
        <translation>&amp;Arrange Icons</translation>
    </message>
    <message>
        <source>关于 本软件(&amp;A)...</source>
        <translation>&amp;About This Software...</translation>
    </message>
    <message>
        <source>大写</source>
        <translation>CAP</translation>
    </message>
    <message>
        <source>数字</source>
        <translation>NUM</translation>
    </message>
    <message>
        <source>滚动</source>
        <translation>SCRL</translation>
    </message>
    <message>
        <source>是否保存对 %1 的更改？</source>
        <translation>Save changes to %1?</translation>
    </message>
    <message>
        <source>Halvoren对讲机写频软件</source>
        <translation>Halvoren Radio Programming Software</translation>
    </message>
    <message>
        <source>如需帮助，请按F1键</source>
        <translation>For Help, press F1</translation>
    </message>
    <message>
        <source>不保存(&amp;N)</source>
        <translation>Do&amp;n&apos;t Save</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>所有文件 (*.*)</source>
        <translation>All Files (*.*)</translation>
    </message>
    <message>
        <source>找不到帮助文件。</source>
        <translation>The help file cannot be found.</translation>
    </message>
    <message>
        <source>关于 Tarvolin写频软件</source>
        <translation>About Tarvolin Programming Software</translation>
    </message>
    <message>
        <source>Tarvolin写频软件1.5 版</source>
        <translation>Tarvolin Programming Software version 1.5</translation>
    </message>
    <message>
        <source>QZ系列对讲机读频、写频与在线调试。
版权所有 (C) Quorim 开发者。</source>
        <translation>Reading, writing and online tuning of QZ series radios.
Copyright (C) the Quorim developers.</translation>
    </message>
    <message>
        <source>输入数据错误，请按正确的格式及大小重新输入</source>
        <translation>Invalid input. Please enter it again in the correct format and range.</translation>
    </message>
    <message>
        <source>输入数据错误，请按6.25K或 5k的倍数重新输入</source>
        <translation>Invalid input. Please enter a multiple of 6.25 kHz or 5 kHz.</translation>
    </message>
    <message>
        <source>请输入数字</source>
        <translation>Please enter digits.</translation>
    </message>
    <message>
        <source>整机设置</source>
        <translation>Radio</translation>
    </message>
    <message>
        <source>机型</source>
        <translation>Model</translation>
    </message>
    <message>
        <source>频段</source>
        <translation>Band</translation>
    </message>
    <message>
        <source>功能设置</source>
        <translation>Functions</translation>
    </message>
    <message>
        <source>监听功能</source>
        <translation>Monitor</translation>
    </message>
    <message>
        <source>发射定时</source>
        <translation>TOT</translation>
    </message>
    <message>
        <source>报警音提示</source>
        <translation>Alarm</translation>
    </message>
    <message>
        <source>静噪等级</source>
        <translation>Squelch</translation>
    </message>
    <message>
        <source>发射功率(POWER)</source>
        <translation>Power</translation>
    </message>
    <message>
        <source>频带宽度</source>
        <translation>Bandwidth</translation>
    </message>
    <message>
        <source>记忆信道：</source>
        <translation>Memory channels:</translation>
    </message>
    <message>
        <source>请点击组合框右边的箭头按钮以进行选择，如需帮助，请按F1键</source>
        <translation>Click the arrow at the right of the list to choose. For Help, press F1</translation>
    </message>
    <message>
        <source>请双击格子进入编辑状态或直接输入数字，如需帮助，请按F1键</source>
        <translation>Double-click a cell to edit it, or type digits into it. For Help, press F1</translation>
    </message>
    <message>
        <source>请直接在右边的表格双击</source>
        <translation>Double-click a cell of the table on the right.</translation>
    </message>
    <message>
        <source>本机设置数据第%N页</source>
        <translation>Settings data, page %1</translation>
    </message>
    <message>
        <source>一整机功能设置部分:</source>
        <translation>1. Radio settings:</translation>
    </message>
    <message>
        <source>机型:   </source>
        <translation>Model:   </translation>
    </message>
    <message>
        <source>频段  :</source>
        <translation>Band:   </translation>
    </message>
    <message>
        <source>监听功能:</source>
        <translation>Monitor: </translation>
    </message>
    <message>
        <source>发射定时(TOT): </source>
        <translation>TX timer (TOT): </translation>
    </message>
    <message>
        <source>报警音提示: </source>
        <translation>Alarm tone: </translation>
    </message>
    <message>
        <source>静噪等级: </source>
        <translation>Squelch: </translation>
    </message>
    <message>
        <source>发射功率: </source>
        <translation>TX power: </translation>
    </message>
    <message>
        <source>频带宽度: </source>
        <translation>Bandwidth: </translation>
    </message>
    <message>
        <source>二信道数据部分:</source>
        <translation>2. Channel data:</translation>
    </message>
    <message>
        <source>信道</source>
        <translation>CH</translation>
    </message>
    <message>
        <source>接收频率</source>
        <translation>RX Freq</translation>
    </message>
    <message>
        <source>发射频率</source>
        <translation>TX Freq</translation>
    </message>
    <message>
        <source>接收信令</source>
        <translation>RX Tone</translation>
    </message>
    <message>
        <source>发射信令</source>
        <translation>TX Tone</translation>
    </message>
    <message>
        <source>是否禁发</source>
        <translation>TX Inhibit</translation>
    </message>
    <message>
        <source>是</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>否</source>
        <translation>No</translation>
    </message>
    <message>
        <source>无法打印：打印机不可用，或输出文件不能写入。</source>
        <translation>Cannot print: the printer is not available, or the output file cannot be written.</translation>
    </message>
    <message>
        <source>调试项目无效，请选择发射频率、电池低压电平、静噪电平或发射功率</source>
        <translation>Invalid tuning item. Please choose transmit frequency, battery low-voltage level, squelch level or transmit power.</translation>
    </message>
    <message>
        <source>调试数值超出范围，请输入 0 至 255 之间的数值</source>
        <translation>Tuning value out of range. Please enter a value from 0 to 255.</translation>
    </message>
    <message>
        <source>没有打开 %1 的权限（设备属于 %2 组）。请运行 sudo usermod -aG %2 $USER，然后重新登录</source>
        <translation>No permission to open %1 (the device belongs to the group %2). Run sudo usermod -aG %2 $USER, then log in again.</translation>
    </message>
    <message>
        <source>没有打开 %1 的权限</source>
        <translation>No permission to open %1.</translation>
    </message>
    <message>
        <source>%1 正被其他程序占用</source>
        <translation>%1 is in use by another program.</translation>
    </message>
    <message>
        <source>%1 正被其他程序占用：%2（进程号 %3）</source>
        <translation>%1 is in use by another program: %2 (pid %3).</translation>
    </message>
    <message>
        <source>当前没有连接 %1 设备</source>
        <translation>No device %1 is connected now.</translation>
    </message>
    <message>
        <source>%1 是普通文件，不是串口</source>
        <translation>%1 is a regular file, not a serial port.</translation>
    </message>
    <message>
        <source>%1 是文件夹，不是串口</source>
        <translation>%1 is a folder, not a serial port.</translation>
    </message>
    <message>
        <source>%1 是管道（FIFO），不是串口</source>
        <translation>%1 is a FIFO, not a serial port.</translation>
    </message>
    <message>
        <source>%1 是套接字，不是串口</source>
        <translation>%1 is a socket, not a serial port.</translation>
    </message>
    <message>
        <source>%1 是设备，但不是串口</source>
        <translation>%1 is a device, but not a serial port.</translation>
    </message>
    <message>
        <source>%1 不是串口</source>
        <translation>%1 is not a serial port.</translation>
    </message>
    <message>
        <source>设备…</source>
        <translation>Devices…</translation>
    </message>
    <message>
        <source>查看串口设备，为 COM1 至 COM4 指定设备</source>
        <translation>Show the serial devices and choose the device for each of COM1 to COM4</translation>
    </message>
    <message>
        <source>串口设备</source>
        <translation>Serial devices</translation>
    </message>
    <message>
        <source>测试连接</source>
        <translation>Test connection</translation>
    </message>
    <message>
        <source>正在测试 %1…</source>
        <translation>Testing %1…</translation>
    </message>
    <message>
        <source>写频前备份对讲机数据</source>
        <translation>Back up the radio before writing</translation>
    </message>
    <message>
        <source>恢复写频前的数据…</source>
        <translation>Restore before-write data…</translation>
    </message>
    <message>
        <source>恢复写频前的数据</source>
        <translation>Restore before-write data</translation>
    </message>
    <message>
        <source>时间</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>型号</source>
        <translation>Model</translation>
    </message>
    <message>
        <source>恢复</source>
        <translation>Restore</translation>
    </message>
    <message>
        <source>写回串口：%1</source>
        <translation>Write back on: %1</translation>
    </message>
    <message>
        <source>还没有写频前的数据。</source>
        <translation>No data has been kept before a write yet.</translation>
    </message>
    <message>
        <source>未写入对讲机：写频前未能读出它的数据（%1）</source>
        <translation>The radio was not written: its memory could not be read before the write (%1)</translation>
    </message>
    <message>
        <source>未写入对讲机：写频前未能保存它的数据（%1）</source>
        <translation>The radio was not written: its memory could not be kept before the write (%1)</translation>
    </message>
    <message>
        <source>“%1”不是对讲机的数据（第 3 字节不是型号），未写入。</source>
        <translation>&quot;%1&quot; is not a radio&apos;s memory (byte 3 names no model); nothing was written.</translation>
    </message>
    <message>
        <source>端口</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>设备</source>
        <translation>Device</translation>
    </message>
    <message>
        <source>说明</source>
        <translation>Description</translation>
    </message>
    <message>
        <source>权限</source>
        <translation>Access</translation>
    </message>
    <message>
        <source>指定设备：</source>
        <translation>Device for each port:</translation>
    </message>
    <message>
        <source>自动（按插入顺序）</source>
        <translation>Automatic (in plug-in order)</translation>
    </message>
    <message>
        <source>未连接</source>
        <translation>not connected</translation>
    </message>
    <message>
        <source>可以打开</source>
        <translation>may be opened</translation>
    </message>
    <message>
        <source>无权打开（%1 组）</source>
        <translation>no permission (group %1)</translation>
    </message>
    <message>
        <source>无法打开串口，请检查该设备是否正常，或是否被占用</source>
        <translation>Cannot open the serial port. Please check that the device works and is not in use by another program.</translation>
    </message>
    <message>
        <source> 错误需延时再试</source>
        <translation> Error, please wait a moment and try again</translation>
    </message>
    <message>
        <source>对讲机已收到!</source>
        <translation>The radio has received it!</translation>
    </message>
    <message>
        <source>还原默认值</source>
        <translation>Restore Defaults</translation>
    </message>
    <message>
        <source>接收</source>
        <translation>Receive</translation>
    </message>
    <message>
        <source>频率(MHZ)</source>
        <translation>Freq (MHz)</translation>
    </message>
    <message>
        <source>信令</source>
        <translation>Tone</translation>
    </message>
    <message>
        <source>信令类别</source>
        <translation>Tone type</translation>
    </message>
    <message>
        <source>模拟信令</source>
        <translation>Analogue</translation>
    </message>
    <message>
        <source>数字信令</source>
        <translation>Digital</translation>
    </message>
    <message>
        <source>频率步进值</source>
        <translation>Step</translation>
    </message>
    <message>
        <source>发射</source>
        <translation>Transmit</translation>
    </message>
    <message>
        <source>选择调试频率</source>
        <translation>Tuning frequency</translation>
    </message>
    <message>
        <source>高端频率</source>
        <translation>High</translation>
    </message>
    <message>
        <source>中端频率</source>
        <translation>Middle</translation>
    </message>
    <message>
        <source>低端频率</source>
        <translation>Low</translation>
    </message>
    <message>
        <source>调试参数</source>
        <translation>Tuning value</translation>
    </message>
    <message>
        <source>最小</source>
        <translation>Min</translation>
    </message>
    <message>
        <source>最大</source>
        <translation>Max</translation>
    </message>
    <message>
        <source>当前位置</source>
        <translation>Position</translation>
    </message>
    <message>
        <source>开始</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>调试频率设置</source>
        <translation>Tuning frequencies</translation>
    </message>
    <message>
        <source>中心频率</source>
        <translation>Centre</translation>
    </message>
    <message>
        <source>调试项目</source>
        <translation>Tuning items</translation>
    </message>
    <message>
        <source>电池低压电平</source>
        <translation>Battery low level</translation>
    </message>
    <message>
        <source>静噪电平</source>
        <translation>Squelch level</translation>
    </message>
    <message>
        <source>发射功率</source>
        <translation>TX power</translation>
    </message>
    <message>
        <source>退出调试</source>
        <translation>Exit tuning</translation>
    </message>
    <message>
        <source>频率未确定</source>
        <translation>Frequency not chosen</translation>
    </message>
    <message>
        <source>当前位置:</source>
        <translation>Position: </translation>
    </message>
    <message>
        <source>现在完成：</source>
        <translation>Completed:</translation>
    </message>
    <message>
        <source>读频进度显示</source>
        <translation>Read Progress</translation>
    </message>
    <message>
        <source>写频进度显示</source>
        <translation>Write Progress</translation>
    </message>
    <message>
        <source>未开始</source>
        <translation>Not started</translation>
    </message>
    <message>
        <source>选择 QZ - 16 将删除信道 17-199 中有数据的 %1 个信道。是否继续？</source>
        <translation>Choosing QZ - 16 drops the %1 channels among channels 17-199 that hold data. Continue?</translation>
    </message>
    <message>
        <source>无法打开文件“%1”</source>
        <translation>Cannot open &quot;%1&quot;</translation>
    </message>
    <message>
        <source>“%1”不是对讲机数据文件：它有 %2 字节，数据文件有 %3 字节</source>
        <translation>&quot;%1&quot; is not a radio data file: it holds %2 bytes, a data file holds %3</translation>
    </message>
    <message>
        <source>“%1”不像对讲机的数据文件：%2</source>
        <translation>&quot;%1&quot; does not look like a radio data file: %2</translation>
    </message>
    <message>
        <source>“%1”不像对讲机的数据文件：%2。仍要把它写入对讲机吗？</source>
        <translation>&quot;%1&quot; does not look like a radio data file: %2. Write it to the radio all the same?</translation>
    </message>
    <message>
        <source>它比数据文件的 3216 字节长</source>
        <translation>it is longer than the 3216 bytes of a data file</translation>
    </message>
    <message>
        <source>它的机型代码（第 3 字节）既不是“7”也不是“8”</source>
        <translation>its model code (byte 3) is neither &quot;7&quot; nor &quot;8&quot;</translation>
    </message>
    <message>
        <source>它是逗号分隔的文本</source>
        <translation>it is comma-separated text</translation>
    </message>
    <message>
        <source>它是 PDF 文档</source>
        <translation>it is a PDF document</translation>
    </message>
    <message>
        <source>它是程序文件</source>
        <translation>it is a program</translation>
    </message>
    <message>
        <source>无法读取文件“%1”</source>
        <translation>Cannot read &quot;%1&quot;</translation>
    </message>
    <message>
        <source>无法保存文件“%1”，原文件未改动</source>
        <translation>Cannot save &quot;%1&quot;; the previous file is unchanged</translation>
    </message>
    <message>
        <source>无法保存文件“%1”</source>
        <translation>Cannot save &quot;%1&quot;</translation>
    </message>
    <message>
        <source>（%1）</source>
        <translation> (%1)</translation>
    </message>
    <message>
        <source>这是一个文件夹</source>
        <translation>it is a folder</translation>
    </message>
    <message>
        <source>磁盘拒绝写入数据</source>
        <translation>the disk refused the data</translation>
    </message>
    <message>
        <source>对讲机为 %1，文件为 %2，未写入。</source>
        <translation>The radio is a %1 but the document is for a %2; nothing was written.</translation>
    </message>
    <message>
        <source>读频完成：%1，%2 个信道，%3</source>
        <translation>Read done: %1, %2 channels, %3</translation>
    </message>
    <message>
        <source>写频完成：%1，%2 个信道，%3</source>
        <translation>Write done: %1, %2 channels, %3</translation>
    </message>
    <message>
        <source>已读出对讲机数据，但未保存备份：XDG_DATA_HOME 和 HOME 都未指明存放的文件夹</source>
        <translation>The radio&apos;s memory was read, but no backup was kept: neither XDG_DATA_HOME nor HOME names a folder for it</translation>
    </message>
    <message>
        <source>已读出对讲机数据，但备份无法保存到“%1”（%2）</source>
        <translation>The radio&apos;s memory was read, but its backup could not be stored in &quot;%1&quot; (%2)</translation>
    </message>
    <message>
        <source>对讲机数据已备份到“%1”，但旧的备份无法删除（%2）</source>
        <translation>The radio&apos;s memory was backed up in &quot;%1&quot;, but older backups could not be removed (%2)</translation>
    </message>
    <message>
        <source>最后一个信道已有数据，插入信道会将其删除，请先删除最后的信道</source>
        <translation>The last channel holds data that inserting a channel would drop. Delete the last channel first.</translation>
    </message>
    <message>
        <source>粘贴的数据超出了信道表格的范围</source>
        <translation>The pasted data reaches past the channel table.</translation>
    </message>
    <message>
        <source>设置…</source>
        <translation>Set…</translation>
    </message>
    <message>
        <source>向下填充</source>
        <translation>Fill down</translation>
    </message>
    <message>
        <source>递增填充</source>
        <translation>Fill series</translation>
    </message>
    <message>
        <source>以下数据不符合要求，没有修改任何数据：</source>
        <translation>These entries are not valid; nothing was changed:</translation>
    </message>
    <message>
        <source>%1（信道 %2 至 %3）：</source>
        <translation>%1 (channels %2 to %3):</translation>
    </message>
    <message>
        <source>起始频率（MHz）：</source>
        <translation>Start frequency (MHz):</translation>
    </message>
    <message>
        <source>步进（kHz，5 或 6.25 的倍数）：</source>
        <translation>Step (kHz, a multiple of 5 or 6.25):</translation>
    </message>
    <message>
        <source>该信道没有频率</source>
        <translation>this channel has no frequency</translation>
    </message>
    <message>
        <source>步进须为 5 kHz 或 6.25 kHz 的倍数</source>
        <translation>the step must be a multiple of 5 kHz or 6.25 kHz</translation>
    </message>
    <message>
        <source>检查信道</source>
        <translation>Check channels</translation>
    </message>
    <message>
        <source>没有发现问题</source>
        <translation>No problems found.</translation>
    </message>
    <message>
        <source>信道 %1，%2：%3 不在所选频段 %4 内</source>
        <translation>Channel %1, %2: %3 is outside the chosen band %4</translation>
    </message>
    <message>
        <source>信道 %1：有发射频率，没有接收频率</source>
        <translation>Channel %1: a transmit frequency without a receive frequency</translation>
    </message>
    <message>
        <source>信道 %1，%2：%3 不是 5 kHz 或 6.25 kHz 的倍数</source>
        <translation>Channel %1, %2: %3 is not a multiple of 5 kHz or 6.25 kHz</translation>
    </message>
    <message>
        <source>信道 %1 与信道 %2 完全相同</source>
        <translation>Channel %1 is exactly the same as channel %2</translation>
    </message>
    <message>
        <source>以下数据不符合要求，没有粘贴任何数据：</source>
        <translation>These entries are not valid; nothing was pasted:</translation>
    </message>
    <message>
        <source>信道 %1，%2（“%3”）：%4</source>
        <translation>Channel %1, %2 (&quot;%3&quot;): %4</translation>
    </message>
    <message>
        <source>撤销</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>重做</source>
        <translation>Redo</translation>
    </message>
    <message>
        <source>剪切</source>
        <translation>Cut</translation>
    </message>
    <message>
        <source>复制</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>粘贴</source>
        <translation>Paste</translation>
    </message>
    <message>
        <source>清除</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>插入空信道</source>
        <translation>Insert Empty Channel</translation>
    </message>
    <message>
        <source>删除信道</source>
        <translation>Delete Channels</translation>
    </message>
    <message>
        <source>信道上移</source>
        <translation>Move Channels Up</translation>
    </message>
    <message>
        <source>信道下移</source>
        <translation>Move Channels Down</translation>
    </message>
    <message>
        <source>全选</source>
        <translation>Select All</translation>
    </message>
    <message>
        <source>“%1”不是普通文件，未作改动</source>
        <translation>&quot;%1&quot; is not a regular file; it was left as it is</translation>
    </message>
    <message>
        <source>“%1”是只读文件，未作改动</source>
        <translation>&quot;%1&quot; is read-only; it was left as it is</translation>
    </message>
    <message>
        <source>这是一个设备</source>
        <translation>it is a device</translation>
    </message>
    <message>
        <source>这是一个命名管道</source>
        <translation>it is a FIFO</translation>
    </message>
    <message>
        <source>这是一个套接字</source>
        <translation>it is a socket</translation>
    </message>
    <message>
        <source>%1（环境变量 %2）</source>
        <translation>%1 (environment variable %2)</translation>
    </message>
    <message>
        <source>环境变量 %1 指定了这个端口的设备；要在这里选择，请去掉这个变量后重新启动程序</source>
        <translation>The environment variable %1 sets this port&apos;s device; to choose it here, start the program without that variable</translation>
    </message>
    <message>
        <source>选择一个设备，或输入设备路径（例如 /dev/ttyS0、/dev/pts/3）后按回车</source>
        <translation>Choose a device, or type a device path (such as /dev/ttyS0 or /dev/pts/3) and press Enter</translation>
    </message>
    <message>
        <source>“%1”是端口名，请输入设备路径，例如 /dev/ttyS0</source>
        <translation>&quot;%1&quot; is a port name; type a device path such as /dev/ttyS0</translation>
    </message>
    <message>
        <source>虚拟对讲机…</source>
        <translation>Virtual radio…</translation>
    </message>
    <message>
        <source>虚拟对讲机</source>
        <translation>Virtual radio</translation>
    </message>
    <message>
        <source>型号：</source>
        <translation>Model:</translation>
    </message>
    <message>
        <source>端口：</source>
        <translation>Port:</translation>
    </message>
    <message>
        <source>启动</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>虚拟对讲机 %1 在 %2 上运行，%3 指向它，程序结束时它也结束</source>
        <translation>The virtual radio %1 runs on %2 and %3 points at it; it ends with the program</translation>
    </message>
    <message>
        <source>虚拟对讲机没有启动：%1</source>
        <translation>The virtual radio did not start: %1</translation>
    </message>
    <message>
        <source>找不到程序 %1</source>
        <translation>The program %1 was not found</translation>
    </message>
    <message>
        <source>找不到频道方案 %1</source>
        <translation>No channel plan %1 was found</translation>
    </message>
    <message>
        <source>无法读取频道方案 %1：%2</source>
        <translation>The channel plan %1 cannot be read: %2</translation>
    </message>
    <message>
        <source>%1 不是导出格式的信道表：%2</source>
        <translation>%1 is not a channel list in the export layout: %2</translation>
    </message>
    <message>
        <source>%1 中没有任何信道频率</source>
        <translation>%1 holds no channel frequency</translation>
    </message>
    <message>
        <source>窄带（12.5 kHz）</source>
        <translation>narrow (12.5 kHz)</translation>
    </message>
    <message>
        <source>宽带（25 kHz）</source>
        <translation>wide (25 kHz)</translation>
    </message>
    <message>
        <source>宽带或窄带</source>
        <translation>wide or narrow</translation>
    </message>
    <message>
        <source>同频单工</source>
        <translation>simplex</translation>
    </message>
    <message>
        <source>可异频</source>
        <translation>splits allowed</translation>
    </message>
    <message>
        <source>方案未说明</source>
        <translation>not stated by the plan</translation>
    </message>
    <message>
        <source>%1：%2
信道数：%3；%4；%5；功率限制：%6
依据：%7
</source>
        <translation>%1: %2
Channels: %3; %4; %5; power limit: %6
Source: %7
</translation>
    </message>
    <message>
        <source>套用频道方案…</source>
        <translation>Apply channel plan…</translation>
    </message>
    <message>
        <source>按频道方案检查…</source>
        <translation>Check against a channel plan…</translation>
    </message>
    <message>
        <source>频道方案：</source>
        <translation>Channel plan:</translation>
    </message>
    <message>
        <source>写入信道（空：从信道 1 起）：</source>
        <translation>Into channels (empty: from channel 1):</translation>
    </message>
    <message>
        <source>从方案的信道：</source>
        <translation>From the plan&apos;s channel:</translation>
    </message>
    <message>
        <source>收发信令（空：不改变）：</source>
        <translation>Tone, both sides (empty: unchanged):</translation>
    </message>
    <message>
        <source>其他文件…</source>
        <translation>Other file…</translation>
    </message>
    <message>
        <source>不按方案检查</source>
        <translation>No plan</translation>
    </message>
    <message>
        <source>“%1”不是信道或信道范围（如 1-16、3,5,9-12），信道为 1 至 %2</source>
        <translation>&quot;%1&quot; is not a channel or a range of channels (such as 1-16 or 3,5,9-12); the channels are 1 to %2</translation>
    </message>
    <message>
        <source>方案 %1 的信道为 1 至 %2</source>
        <translation>The channels of plan %1 are 1 to %2</translation>
    </message>
    <message>
        <source>方案 %1 从第 %2 个信道起只有 %3 个信道，所选信道有 %4 个</source>
        <translation>Plan %1 has only %3 channels from its channel %2 on, for %4 chosen channels</translation>
    </message>
    <message>
        <source>以下数据不符合要求，没有套用方案：</source>
        <translation>These values were refused; the plan was not applied:</translation>
    </message>
    <message>
        <source>已将方案 %1 的信道 %2 至 %3 写入信道 %4</source>
        <translation>Channels %2 to %3 of plan %1 are now channels %4</translation>
    </message>
    <message>
        <source>频段已由 %1 改为 %2</source>
        <translation>The band changed from %1 to %2</translation>
    </message>
    <message>
        <source>频带宽度已由 %1 改为 %2</source>
        <translation>The bandwidth changed from %1 to %2</translation>
    </message>
    <message>
        <source>信道 %1，%2：%3 不是方案 %4 的信道频率</source>
        <translation>Channel %1, %2: %3 is not a channel of plan %4</translation>
    </message>
    <message>
        <source>信道 %1：接收 %2 与发射 %3 不同，方案 %4 为同频单工</source>
        <translation>Channel %1: receives on %2 but transmits on %3; plan %4 is simplex</translation>
    </message>
    <message>
        <source>频带宽度为“%1”，方案 %2 要求%3</source>
        <translation>The bandwidth is &quot;%1&quot;; plan %2 requires %3</translation>
    </message>
    <message>
        <source>频段 %1 不包含方案 %2 的全部频率</source>
        <translation>The band %1 does not hold every frequency of plan %2</translation>
    </message>
    <message>
        <source>%1：与方案的信道和频带宽度相符</source>
        <translation>%1: matches the plan&apos;s channels and bandwidth</translation>
    </message>
    <message>
        <source>功率限制：%1（未检查：对讲机的功率设置是档位，不是瓦数）</source>
        <translation>Power limit: %1 (not checked: the radio&apos;s power setting is a level, not watts)</translation>
    </message>
    <message>
        <source>法规同样约束设备本身（一体化天线、型号核准等），这些任何程序都无法检查；相符不等于合法。</source>
        <translation>The rules also bind the equipment itself (an integral antenna, type approval), which no program can check; a match does not make a radio legal.</translation>
    </message>
    <message>
        <source>PMR446（欧洲，免执照）</source>
        <translation>PMR446 (Europe, licence-free)</translation>
    </message>
    <message>
        <source>0.5 W（有效辐射功率），仅限一体化天线的手持机</source>
        <translation>0.5 W ERP, hand-held radios with an integral antenna only</translation>
    </message>
    <message>
        <source>公众对讲机（中国，409 MHz）</source>
        <translation>Public walkie-talkie service (China, 409 MHz)</translation>
    </message>
    <message>
        <source>0.5 W，型号核准的设备，不得外接或改换天线</source>
        <translation>0.5 W, type-approved equipment, no external or replaced antenna</translation>
    </message>
    <message>
        <source>FRS 家庭无线电业务（美国）</source>
        <translation>FRS Family Radio Service (United States)</translation>
    </message>
    <message>
        <source>2 W（有效辐射功率），信道 8-14 为 0.5 W；天线不可拆卸</source>
        <translation>2 W ERP, 0.5 W on channels 8-14; a non-removable antenna</translation>
    </message>
    <message>
        <source>从表格软件保存的 CSV 文件导入信道和设置</source>
        <translation>Import channels and settings from a CSV file a spreadsheet saved</translation>
    </message>
    <message>
        <source>把信道和设置保存为表格软件能打开的 CSV 文件</source>
        <translation>Save the channels and settings as a CSV file a spreadsheet opens</translation>
    </message>
    <message>
        <source>导入 CSV…</source>
        <translation>Import CSV…</translation>
    </message>
    <message>
        <source>导出 CSV…</source>
        <translation>Export CSV…</translation>
    </message>
    <message>
        <source>逗号分隔的文本 (*.csv)</source>
        <translation>Comma-separated text (*.csv)</translation>
    </message>
    <message>
        <source>“%1”未能导入，文档没有改动：</source>
        <translation>&quot;%1&quot; was not imported; the document is unchanged:</translation>
    </message>
    <message>
        <source>已导入“%1”，以下内容没有导入：</source>
        <translation>&quot;%1&quot; was imported, except for these:</translation>
    </message>
    <message>
        <source>“%1”太大，不是信道表</source>
        <translation>&quot;%1&quot; is too large to be a channel list</translation>
    </message>
    <message>
        <source>……另有 %1 条</source>
        <translation>… and %1 more</translation>
    </message>
    <message>
        <source>“%1”是 QZ - 16 的信道表，导入将删除信道 17-199 中有数据的 %2 个信道。是否继续？</source>
        <translation>&quot;%1&quot; is a channel list for the QZ - 16: importing it deletes the %2 channels of 17-199 that hold data. Go on?</translation>
    </message>
    <message>
        <source>“%1”是逗号分隔的文本，不是对讲机数据文件。是否把它导入一个新文档？</source>
        <translation>&quot;%1&quot; is comma-separated text, not a radio data file. Import it into a new document?</translation>
    </message>
    <message>
        <source>已导入“%1”</source>
        <translation>Imported &quot;%1&quot;</translation>
    </message>
    <message>
        <source>已导出到“%1”</source>
        <translation>Exported to &quot;%1&quot;</translation>
    </message>
    <message>
        <source>所选的信道都没有频率，没有修改任何数据</source>
        <translation>None of the selected channels has a frequency; nothing was changed.</translation>
    </message>
    <message>
        <source>跳过了 %1 个没有频率的信道</source>
        <translation>Skipped %1 channel(s) without a frequency.</translation>
    </message>
    <message>
        <source>%1 个信道的发射频率与接收频率不同，保留了原来的发射频率</source>
        <translation>%1 channel(s) had a transmit frequency of their own; it was kept.</translation>
    </message>
    <message>
        <source>%1、%2</source>
        <translation>%1, %2</translation>
    </message>
    <message>
        <source>50-700 MHz，步进 6.25 或 5 kHz，例如 446.00625</source>
        <translation>50-700 MHz in steps of 6.25 or 5 kHz, for example 446.00625</translation>
    </message>
    <message>
        <source>67.0-254.1、D023N、D754I 或 OFF</source>
        <translation>67.0-254.1, D023N, D754I or OFF</translation>
    </message>
    <message>
        <source>对讲机可能已存有一部分新数据。再写一次即可写完。</source>
        <translation>The radio may now hold part of the new data. Writing again finishes it.</translation>
    </message>
    <message>
        <source>写频前已保存了对讲机原来的数据。要把它写回对讲机吗？</source>
        <translation>What the radio held before this write was kept. Put it back into the radio?</translation>
    </message>
    <message>
        <source>%1 个信道超出频段或不在步进上：“编辑”→“检查信道”</source>
        <translation>%1 channel(s) outside the band or off the step: Edit → Check channels</translation>
    </message>
    <message>
        <source>撤销上一次修改</source>
        <translation>Undo the last change</translation>
    </message>
    <message>
        <source>重做撤销的修改</source>
        <translation>Redo the change undone</translation>
    </message>
    <message>
        <source>复制所选内容，然后清除</source>
        <translation>Copy the selection, then clear it</translation>
    </message>
    <message>
        <source>复制所选内容</source>
        <translation>Copy the selection</translation>
    </message>
    <message>
        <source>从所选位置的左上角开始粘贴</source>
        <translation>Paste from the top left of the selection</translation>
    </message>
    <message>
        <source>清除所选单元格</source>
        <translation>Clear the selected cells</translation>
    </message>
    <message>
        <source>在所选信道前插入空信道</source>
        <translation>Insert empty channels before the selected one</translation>
    </message>
    <message>
        <source>删除所选信道</source>
        <translation>Delete the selected channels</translation>
    </message>
    <message>
        <source>将所选信道上移一位</source>
        <translation>Move the selected channels up one place</translation>
    </message>
    <message>
        <source>将所选信道下移一位</source>
        <translation>Move the selected channels down one place</translation>
    </message>
    <message>
        <source>选择全部单元格</source>
        <translation>Select every cell</translation>
    </message>
    <message>
        <source>将一个值填入所选信道的所选列</source>
        <translation>Put one value into the selected columns of the selected channels</translation>
    </message>
    <message>
        <source>将第一个所选信道的内容复制到其余所选信道</source>
        <translation>Copy the first selected channel's cells into the others</translation>
    </message>
    <message>
        <source>从起始频率开始按步进逐个信道填入频率</source>
        <translation>Fill frequencies channel by channel from a start by a step</translation>
    </message>
    <message>
        <source>列出对讲机无法使用或可能不是有意的内容</source>
        <translation>List what the radio cannot use or you probably did not mean</translation>
    </message>
    <message>
        <source>把一个频道方案的频率和带宽写入所选信道</source>
        <translation>Writes a channel plan&apos;s frequencies and bandwidth into the selected channels</translation>
    </message>
    <message>
        <source>列出与频道方案的信道和带宽不符的内容</source>
        <translation>Lists what does not match a channel plan&apos;s channels and bandwidth</translation>
    </message>
</context>
<context>
    <name>SettingsList</name>
    <message>
        <source>关闭</source>
        <translation>Off</translation>
    </message>
    <message>
        <source>打开</source>
        <translation>On</translation>
    </message>
    <message>
        <source>宽</source>
        <translation>Wide</translation>
    </message>
    <message>
        <source>窄</source>
        <translation>Narrow</translation>
    </message>
</context>
</TS>
