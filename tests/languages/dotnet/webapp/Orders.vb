Option Strict On
Imports System.Collections.Generic

<Serializable()> _
Public Class OrderService
    Implements IDisposable

#Region "Fields"
    Private WithEvents _timer As System.Timers.Timer
    Private ReadOnly _orders As New Dictionary(Of Integer, Order)()
#End Region

    Public Event OrderAdded(ByVal sender As Object, ByVal e As EventArgs)

    Public Sub New()
        _timer = New System.Timers.Timer(1000)
        AddHandler _timer.Elapsed, AddressOf OnTick
    End Sub

    <Obsolete("use AddOrder")> Public Sub Add(ByVal o As Order)
        AddOrder(o)
    End Sub

    Public Function AddOrder(ByVal o As Order) As Boolean
        If o Is Nothing Then Return False
        _orders(o.Id) = o
        RaiseEvent OrderAdded(Me, EventArgs.Empty)
        Select Case o.Status
            Case "NEW" : o.Validate()
            Case Else
        End Select
        Using conn As New SqlConnection("x")
            conn.Open()
        End Using
        Return True
    End Function

    Private Sub OnTick(ByVal sender As Object, ByVal e As System.Timers.ElapsedEventArgs) Handles _timer.Elapsed
        Try
            Flush()
        Catch ex As Exception
            Log(ex.Message)
        End Try
    End Sub

    Public Property Count() As Integer
        Get
            Return _orders.Count
        End Get
        Private Set(ByVal value As Integer)
        End Set
    End Property

    Private Sub Flush()
    End Sub

    Private Sub Log(ByVal text As String)
    End Sub

    Public Sub Dispose() Implements IDisposable.Dispose
        _timer.Dispose()
    End Sub
End Class

Public Class Order
    Public Property Id As Integer
    Public Property Status As String
    Public Sub Validate()
    End Sub
End Class
